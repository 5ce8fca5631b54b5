// A table that reads well both in a terminal and as Markdown.
#pragma once

#include <string>
#include <vector>

class MarkdownTable {
  public:
    explicit MarkdownTable(std::vector<std::string> headers);
    void add_row(std::vector<std::string> cells);
    // Columns padded to their widest cell; the first column left-aligned, the others right.
    std::string render() const;

  private:
    std::vector<std::string> headers_;
    std::vector<std::vector<std::string>> rows_;
};

// Fixed-point text of a number, e.g. format_fixed(3.14159, 2) == "3.14".
std::string format_fixed(double value, int decimals);
