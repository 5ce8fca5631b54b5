// quality-bench: this codec beside codec2 and LPC-10 on the same speech, quality and speed.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "analysis_grid.h"
#include "coder_runs.h"
#include "quality_report.h"
#include "speech_corpus.h"

namespace {

struct Options {
    std::string bin_dir;
    std::string work_dir;
    std::string results;
    std::string notes;
    std::vector<std::string> speech_files;
};

bool parse_options(int argc, char** argv, Options* options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool has_value = i + 1 < argc;
        if (arg == "--bin-dir" && has_value) {
            options->bin_dir = argv[++i];
        } else if (arg == "--work-dir" && has_value) {
            options->work_dir = argv[++i];
        } else if (arg == "--results" && has_value) {
            options->results = argv[++i];
        } else if (arg == "--notes" && has_value) {
            options->notes = argv[++i];
        } else if (arg.rfind("--", 0) == 0) {
            return false;
        } else {
            options->speech_files.push_back(arg);
        }
    }
    return !options->bin_dir.empty() && !options->work_dir.empty() &&
           !options->speech_files.empty();
}

std::string read_text(const std::string& path) {
    if (path.empty()) return "";
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse_options(argc, argv, &options)) {
        std::fprintf(stderr,
                     "usage: quality-bench --bin-dir DIR --work-dir DIR [--results FILE.md] "
                     "[--notes FILE.md] SPEECH.wav...\n");
        return 2;
    }
    SpeechCorpus corpus;
    std::string error;
    if (!load_corpus(options.speech_files, &corpus, &error)) {
        std::fprintf(stderr, "quality-bench: %s\n", error.c_str());
        return 1;
    }
    std::vector<std::string> not_measured;
    const std::vector<CoderCommands> coders = compared_coders(options.bin_dir, &not_measured);
    std::vector<CoderFigures> figures;
    bool any_failed = false;
    for (const CoderCommands& coder : coders) {
        std::fprintf(stderr, "quality-bench: %s\n", coder.name.c_str());
        const CoderRun run = run_coder(coder, corpus.samples, options.work_dir);
        if (!run.succeeded) {
            not_measured.push_back(coder.name + ": failed: " + run.failure);
            any_failed = true;
            continue;
        }
        figures.push_back(measure_coder(coder, run, corpus));
    }
    const std::string tables = quality_tables(figures, corpus.segments);
    std::printf("%s", tables.c_str());
    for (const std::string& line : not_measured) std::printf("not measured: %s\n", line.c_str());
    if (!options.results.empty()) {
        std::ofstream results(options.results);
        results << quality_document(tables, duration_seconds(corpus.samples, kMeasureRate),
                                    read_text(options.notes), not_measured);
        if (!results) {
            std::fprintf(stderr, "quality-bench: cannot write %s\n", options.results.c_str());
            return 1;
        }
    }
    return any_failed ? 1 : 0;
}
