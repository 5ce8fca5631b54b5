// The quality benchmark's figures for each coder, and the report made of them.
#pragma once

#include <string>
#include <vector>

#include "coder_runs.h"
#include "speech_comparison.h"
#include "speech_corpus.h"

struct CoderFigures {
    std::string name;
    int bit_rate = 0;
    QualitySummary overall;
    std::vector<QualitySummary> per_segment;  // in the corpus' order
    double delay_ms = 0.0;
    double encode_real_time = 0.0;  // seconds of speech per second of processor time
    double decode_real_time = 0.0;
};

CoderFigures measure_coder(const CoderCommands& coder, const CoderRun& run,
                           const SpeechCorpus& corpus);

// Markdown: the main table, the per-voice distortion table and the goals, each met or not.
std::string quality_tables(const std::vector<CoderFigures>& figures,
                           const std::vector<SpeechSegment>& segments);

// The whole results page: the tables, how they were measured, the corpus notes and what
// could not be measured.
std::string quality_document(const std::string& tables, double corpus_seconds,
                             const std::string& corpus_notes,
                             const std::vector<std::string>& not_measured);
