#!/usr/bin/env bash
# Speaks the codebook training speech with the system's synthesizers, several voices and
# languages each, into 8000 Hz mono 16-bit WAVs:
#   tools/train-codebooks/make-corpus.sh [CORPUS-DIR]   (default: corpus/ at the repo root)
# writes CORPUS-DIR/train/<voice>/*.wav and CORPUS-DIR/heldout/<voice>/*.wav. Held-out voices
# are whole speakers kept out of training, to measure the codebooks on speech they never saw.
# Missing synthesizers are installed when the package manager offers them; a voice whose
# synthesizer cannot be had is skipped. Existing WAVs are kept, so a second run only fills gaps.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
corpus="${1:-$root/corpus}"

wanted=(sox espeak-ng flite festival festvox-kallpc16k festvox-kdlpc16k festvox-us-slt-hts
        festvox-italp16k festvox-itapc16k festvox-ca-ona-hts festvox-czech-dita
        festvox-czech-krb festvox-czech-machac festvox-suopuhe-lj festvox-suopuhe-mv)
missing=()
for package in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
        missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo_cmd=()
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -q
    offered=()
    for package in "${missing[@]}"; do
        candidate="$(apt-cache policy "$package" 2>/dev/null | awk '/Candidate:/ {print $2}')"
        if [ -n "$candidate" ] && [ "$candidate" != "(none)" ]; then
            offered+=("$package")
        else
            echo "make-corpus: $package is not offered; its voices are skipped" >&2
        fi
    done
    [ ${#offered[@]} -eq 0 ] ||
        DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q \
            --no-install-recommends "${offered[@]}"
fi
command -v sox >/dev/null || { echo "make-corpus: sox is required" >&2; exit 1; }

# The text: license prose shipped with every Debian system, long enough that each voice reads
# words of its own.
words="$(mktemp)"
trap 'rm -f "$words" "$words".*' EXIT
cat /usr/share/common-licenses/GPL-3 /usr/share/common-licenses/GFDL-1.3 \
    /usr/share/common-licenses/Apache-2.0 | tr -s '[:space:]' '\n' | grep -v '^$' >"$words"
word_count="$(wc -l <"$words")"
words_per_file=60   # about 25 s of speech
files_per_voice=6

# Writes the n-th slice of the text to $words.txt, wrapping round the end.
text_slice() {
    local first=$(( ($1 * words_per_file) % (word_count - words_per_file) + 1 ))
    sed -n "${first},$((first + words_per_file - 1))p" "$words" | tr '\n' ' ' >"$words.txt"
    echo >>"$words.txt"
}

# set | name | engine | voice. The benchmark's voices (German, Spanish, Polish and Dutch
# espeak-ng voices) stay out of both sets. The US female speaker is held out under both engines
# that carry her; so is one Czech man, whose language the training hears from other speakers.
voices=(
    "train|fest-kal|festival|kal_diphone"
    "train|fest-ked|festival|ked_diphone"
    "train|fest-it-lp|festival|lp_diphone"
    "train|fest-it-pc|festival|pc_diphone"
    "train|fest-ca-ona|festival|upc_ca_ona_hts"
    "train|fest-cs-dita|festival|czech_dita"
    "train|fest-cs-krb|festival|czech_krb"
    "train|fest-fi-lj|festival|suo_fi_lj_diphone"
    "train|fest-fi-mv|festival|hy_fi_mv_diphone"
    "train|flite-kal16|flite|kal16"
    "train|flite-rms|flite|rms"
    "train|espeak-en-m3|espeak-ng|en+m3"
    "train|espeak-en-us-f2|espeak-ng|en-us+f2"
    "train|espeak-en-sc-m1|espeak-ng|en-gb-scotland+m1"
    "train|espeak-en-rp-f4|espeak-ng|en-gb-x-rp+f4"
    "train|espeak-fr-m2|espeak-ng|fr-fr+m2"
    "train|espeak-it-f1|espeak-ng|it+f1"
    "train|espeak-pt-m4|espeak-ng|pt+m4"
    "train|espeak-sv-f3|espeak-ng|sv+f3"
    "train|espeak-fi-m5|espeak-ng|fi+m5"
    "train|espeak-cs-f5|espeak-ng|cs+f5"
    "heldout|fest-slt|festival|cmu_us_slt_arctic_hts"
    "heldout|fest-cs-machac|festival|czech_machac"
    "heldout|flite-slt|flite|slt"
    "heldout|flite-awb|flite|awb"
    "heldout|espeak-en-us-m7|espeak-ng|en-us+m7"
    "heldout|espeak-ro-f2|espeak-ng|ro+f2"
)

# True when the engine and the voice are on this system.
voice_available() {
    case "$1" in
        festival) command -v text2wave >/dev/null &&
                      compgen -G "/usr/share/festival/voices/*/$2" >/dev/null ;;
        flite) command -v flite >/dev/null && flite -lv | grep -qw "$2" ;;
        espeak-ng) command -v espeak-ng >/dev/null ;;
    esac
}

slice=0
for entry in "${voices[@]}"; do
    IFS='|' read -r set name engine voice <<<"$entry"
    if ! voice_available "$engine" "$voice"; then
        echo "make-corpus: skipping $name, $engine $voice is not available" >&2
        slice=$((slice + files_per_voice))
        continue
    fi
    dir="$corpus/$set/$name"
    mkdir -p "$dir"
    for ((file = 0; file < files_per_voice; file++, slice++)); do
        wav="$dir/$name-$file.wav"
        [ -s "$wav" ] && continue
        text_slice "$slice"
        raw="$words.raw.wav"
        case "$engine" in
            festival) text2wave -eval "(voice_$voice)" -o "$raw" "$words.txt" ;;
            flite) flite -voice "$voice" -f "$words.txt" -o "$raw" ;;
            espeak-ng) espeak-ng -v "$voice" -f "$words.txt" -w "$raw" ;;
        esac
        # Peaks at -6 dBFS, so that nothing clips after resampling.
        sox -q "$raw" -r 8000 -c 1 -b 16 "$wav" gain -n -6
    done
    echo "make-corpus: $set/$name"
done
echo "make-corpus: $(find "$corpus" -name '*.wav' | wc -l) files in $corpus"
