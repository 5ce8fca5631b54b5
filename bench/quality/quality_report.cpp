#include "quality_report.h"

#include "analysis_grid.h"
#include "markdown_table.h"

namespace {

const CoderFigures* find(const std::vector<CoderFigures>& figures, const std::string& name) {
    for (const CoderFigures& coder : figures) {
        if (coder.name == name) return &coder;
    }
    return nullptr;
}

std::string ratio_text(double value, double reference) {
    return reference > 0.0 ? format_fixed(value / reference, 2) : "-";
}

std::string overall_table(const std::vector<CoderFigures>& figures) {
    const CoderFigures* reference = find(figures, kCodec2At2400);
    MarkdownTable table({"coder", "bit/s", "MCD dB", "voicing agrees %", "delay ms",
                         "encode x real time", "decode x real time", "encode / codec2 2400",
                         "decode / codec2 2400"});
    for (const CoderFigures& coder : figures) {
        table.add_row(
            {coder.name, std::to_string(coder.bit_rate), format_fixed(coder.overall.mcd_db, 2),
             format_fixed(100.0 * coder.overall.voicing_match, 1), format_fixed(coder.delay_ms, 0),
             format_fixed(coder.encode_real_time, 1), format_fixed(coder.decode_real_time, 1),
             ratio_text(coder.encode_real_time, reference ? reference->encode_real_time : 0.0),
             ratio_text(coder.decode_real_time, reference ? reference->decode_real_time : 0.0)});
    }
    return table.render();
}

std::string per_voice_table(const std::vector<CoderFigures>& figures,
                            const std::vector<SpeechSegment>& segments) {
    std::vector<std::string> headers = {"MCD dB per voice"};
    for (const SpeechSegment& segment : segments) headers.push_back(segment.name);
    MarkdownTable table(headers);
    for (const CoderFigures& coder : figures) {
        std::vector<std::string> row = {coder.name};
        for (const QualitySummary& summary : coder.per_segment) {
            row.push_back(format_fixed(summary.mcd_db, 2));
        }
        table.add_row(row);
    }
    return table.render();
}

std::string goal_line(const std::string& goal, bool measured, bool met, const std::string& detail) {
    const std::string verdict = !measured ? "not measured" : met ? "met" : "NOT met";
    return "- " + goal + ": " + verdict + (detail.empty() ? "" : " (" + detail + ")") + "\n";
}

std::string goals(const std::vector<CoderFigures>& figures) {
    const CoderFigures* ours = find(figures, kOurCoder);
    const CoderFigures* codec2 = find(figures, kCodec2At2400);
    const CoderFigures* lpc10 = find(figures, kLpc10);
    auto mcd = [](const CoderFigures* coder) { return format_fixed(coder->overall.mcd_db, 2); };
    std::string text;
    text += goal_line("lower distortion than LPC-10", ours && lpc10,
                      ours && lpc10 && ours->overall.mcd_db < lpc10->overall.mcd_db,
                      ours && lpc10 ? mcd(ours) + " dB against " + mcd(lpc10) + " dB" : "");
    text += goal_line("distortion no worse than codec2 2400", ours && codec2,
                      ours && codec2 && ours->overall.mcd_db <= codec2->overall.mcd_db,
                      ours && codec2 ? mcd(ours) + " dB against " + mcd(codec2) + " dB" : "");
    text +=
        goal_line("decoder at least as fast as codec2 2400's", ours && codec2,
                  ours && codec2 && ours->decode_real_time >= codec2->decode_real_time,
                  ours && codec2 ? format_fixed(ours->decode_real_time, 1) + " against " +
                                       format_fixed(codec2->decode_real_time, 1) + " x real time"
                                 : "");
    return text;
}

}  // namespace

CoderFigures measure_coder(const CoderCommands& coder, const CoderRun& run,
                           const SpeechCorpus& corpus) {
    CoderFigures figures;
    figures.name = coder.name;
    figures.bit_rate = coder.bit_rate;
    const SpeechComparison comparison = compare_speech(corpus.samples, run.decoded);
    figures.overall = summarize(comparison, 0, corpus.samples.size());
    for (const SpeechSegment& segment : corpus.segments) {
        figures.per_segment.push_back(
            summarize(comparison, segment.first_sample, segment.end_sample));
    }
    figures.delay_ms = 1000.0 * comparison.delay_samples / kMeasureRate;
    const double seconds = duration_seconds(corpus.samples, kMeasureRate);
    if (run.encode_seconds > 0.0) figures.encode_real_time = seconds / run.encode_seconds;
    if (run.decode_seconds > 0.0) figures.decode_real_time = seconds / run.decode_seconds;
    return figures;
}

std::string quality_tables(const std::vector<CoderFigures>& figures,
                           const std::vector<SpeechSegment>& segments) {
    return overall_table(figures) + "\n" + per_voice_table(figures, segments) + "\n" +
           goals(figures);
}

std::string quality_document(const std::string& tables, double corpus_seconds,
                             const std::string& corpus_notes,
                             const std::vector<std::string>& not_measured) {
    std::string text = "# Speech quality and speed beside other low-rate coders\n\n";
    text += "Written by `bench/run-benches.sh` (program `quality-bench`); " +
            format_fixed(corpus_seconds, 1) + " s of speech at 8000 Hz: all voices joined with " +
            "0.5 s pauses and coded in one go by each coder.\n\n";
    text += tables + "\n";
    if (!not_measured.empty()) {
        text += "Not measured:\n\n";
        for (const std::string& line : not_measured) text += "- " + line + "\n";
        text += "\n";
    }
    text += R"(## How the figures are measured

- Alignment: the decoded signal is moved by the lag at which its amplitude envelope (RMS over
  10 ms, every 1 ms) correlates best with the input's, searched over +-300 ms; the lag is the
  delay column.
- MCD (mel-cepstral distortion): 25 ms Hamming windows every 10 ms, 24 triangular mel bands over
  80..3800 Hz, natural log of the band amplitudes, DCT-II scaled as a cepstrum, coefficients 1..12
  (c0, the level, left out); per frame 10/ln10 * sqrt(2 * sum (c_d - c'_d)^2), averaged over the
  frames in which the input lies within 40 dB of its loudest frame.
- Voicing: one detector applied to both signals on the same frames: voiced when the frame lies
  within 30 dB of that signal's loudest frame and its normalized autocorrelation peaks above 0.5
  at a lag of 2.5 to 20 ms. The column is the share of the input's speech frames on which both
  decisions agree.
- Speed: processor time (user + system) of each command-line encoder and decoder over the whole
  corpus, file reading and writing and process start included, best of three runs; "x real
  time" is seconds of speech per second of processor time, the ratios are against codec2 at
  2400 bit/s (larger is faster). The benchmark `encoder-speed` times the encoder without files.
- This codec's low-MIPS row runs both the encoder and the decoder with `--low-mips`.
- codec2 is the Debian package's `c2enc`/`c2dec`; LPC-10 is sox's `lpc10` format.

)";
    if (!corpus_notes.empty()) text += "## Speech used\n\n" + corpus_notes + "\n";
    return text;
}
