#include "markdown_table.h"

#include <algorithm>
#include <cstdio>
#include <utility>

MarkdownTable::MarkdownTable(std::vector<std::string> headers) : headers_(std::move(headers)) {}

void MarkdownTable::add_row(std::vector<std::string> cells) {
    cells.resize(headers_.size());
    rows_.push_back(std::move(cells));
}

namespace {

std::string pad(const std::string& text, std::size_t width, bool left_align) {
    const std::string fill(width - std::min(width, text.size()), ' ');
    return left_align ? text + fill : fill + text;
}

}  // namespace

std::string MarkdownTable::render() const {
    std::vector<std::size_t> widths(headers_.size(), 3);
    for (std::size_t c = 0; c < headers_.size(); ++c) {
        widths[c] = std::max(widths[c], headers_[c].size());
        for (const auto& row : rows_) widths[c] = std::max(widths[c], row[c].size());
    }
    auto render_line = [&](const std::vector<std::string>& cells) {
        std::string line = "|";
        for (std::size_t c = 0; c < cells.size(); ++c) {
            line += " " + pad(cells[c], widths[c], c == 0) + " |";
        }
        return line + "\n";
    };
    std::string text = render_line(headers_);
    text += "|";
    for (std::size_t c = 0; c < widths.size(); ++c) {
        text += c == 0 ? " :" + std::string(widths[c] - 1, '-') + " |"
                       : " " + std::string(widths[c] - 1, '-') + ": |";
    }
    text += "\n";
    for (const auto& row : rows_) text += render_line(row);
    return text;
}

std::string format_fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}
