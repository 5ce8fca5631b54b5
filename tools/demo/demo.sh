#!/usr/bin/env bash
# Speaks a few sentences, sends them through the codec and back, and shows what came out:
# the two WAV files to listen to, a spectrogram of both, and the quality and speed figures.
#   tools/demo/demo.sh NATIVE-BIN-DIR [OUT-DIR]   (OUT-DIR defaults to build/demo)
set -euo pipefail
bin_dir="${1:?usage: demo.sh NATIVE-BIN-DIR [OUT-DIR]}"
out_dir="${2:-build/demo}"
codec="$bin_dir/parlo-codec"
compare="$bin_dir/speech-compare"
for tool in "$codec" "$compare"; do
    [ -x "$tool" ] || { echo "demo: $tool is missing; build the native tools first" >&2; exit 1; }
done
mkdir -p "$out_dir"

text="Welcome to Ombrel voice chat. Hold the transmit key and speak as you normally would. \
Your friends hear you a moment later, squeezed into twenty four hundred bits per second."
original="$out_dir/original.wav"
bits="$out_dir/speech.bit"
decoded="$out_dir/decoded.wav"
spectrogram="$out_dir/spectrogram.png"

espeak-ng -v en-us -w "$out_dir/espeak.wav" "$text"
# The codec works at 8000 Hz; the peak is kept below full scale so that resampling cannot clip.
sox -q "$out_dir/espeak.wav" -r 8000 -c 1 -b 16 "$original" gain -n -6
rm -f "$out_dir/espeak.wav"

# Processor seconds (user + system) of one command.
cpu_seconds() {
    local TIMEFORMAT='%U %S'
    local times
    times="$({ time "$@" >/dev/null; } 2>&1 | tail -n 1)"
    awk '{ print $1 + $2 }' <<<"$times"
}
encode_seconds="$(cpu_seconds "$codec" encode "$original" "$bits")"
decode_seconds="$(cpu_seconds "$codec" decode "$bits" "$decoded")"

# One panel per channel: the original on top, the decoded speech below.
sox -q -M "$original" "$decoded" "$out_dir/both.wav"
sox -q "$out_dir/both.wav" -n spectrogram -x 1000 -y 257 -z 90 \
    -t "Ombrel codec demo: original (top) and decoded (bottom)" \
    -c "parlo-codec, 2400 bit/s" -o "$spectrogram"
rm -f "$out_dir/both.wav"

speech_seconds="$(soxi -D "$original")"
real_time() { awk -v speech="$speech_seconds" -v cpu="$1" \
    'BEGIN { if (cpu > 0) printf "%.1f x real time", speech / cpu; else print "too fast to time" }'; }

echo "demo: $(printf '%.1f' "$speech_seconds") s of speech through parlo-codec at 2400 bit/s"
echo "  original:    $original"
echo "  decoded:     $decoded"
echo "  bits:        $bits ($(stat -c %s "$bits") bytes)"
echo "  spectrogram: $spectrogram"
echo "quality:"
"$compare" "$original" "$decoded" | sed 's/^/  /'
echo "speed (processor time, files included):"
echo "  encode: $(real_time "$encode_seconds")"
echo "  decode: $(real_time "$decode_seconds")"
