#!/usr/bin/env bash
# Speaks the benchmark speech: four synthetic voices in languages and voice variants chosen to
# stay out of the codebooks' training speech, with sentences of their own, at 8000 Hz.
#   bench/speech-corpus.sh OUT-DIR   writes OUT-DIR/<voice>.wav and OUT-DIR/corpus.md,
#                                    prints the WAV paths one a line
set -euo pipefail
out_dir="${1:?usage: speech-corpus.sh OUT-DIR}"
mkdir -p "$out_dir"

# name | espeak-ng voice | text
voices=(
    "de-anika|de+anika|Der alte Leuchtturm am Hafen blinkt jede Nacht, wenn die Fischer heimkehren. Morgen früh bringen wir frisches Brot und warmen Kaffee zum Markt."
    "es-pedro|es-419+pedro|Mañana temprano saldremos hacia las montañas para ver el amanecer. Mi abuela siempre guarda una vela junto a la ventana de la cocina."
    "pl-steph|pl+steph2|Zielony tramwaj jedzie powoli przez stary most nad rzeką. Po południu babcia upiekła szarlotkę i zaprosiła wszystkich sąsiadów."
    "nl-marco|nl+Marco|De fietsenmaker in onze straat repareert ook oude klokken. Gisteren regende het zo hard dat de tuin in een vijver veranderde."
)

notes="$out_dir/corpus.md"
{
    echo "Synthetic voices made with espeak-ng $(espeak-ng --version | awk '{print $4}'), peak-normalized"
    echo "to -6 dBFS and resampled to 8000 Hz by sox. Languages other than English, voice variants and"
    echo "sentences of their own were chosen to keep them out of the codebooks' training speech."
    echo "That speech was partly made by the same synthesizer, though, so these voices may favour"
    echo "the trained codebooks over coders designed on natural speech. The voices:"
    echo
} >"$notes"
for entry in "${voices[@]}"; do
    IFS='|' read -r name voice text <<<"$entry"
    wav="$out_dir/$name.wav"
    espeak-ng -v "$voice" -w "$out_dir/$name.espeak.wav" "$text"
    # Peaks at -6 dBFS so that no coder input clips after resampling.
    sox -q "$out_dir/$name.espeak.wav" -r 8000 -c 1 -b 16 "$wav" gain -n -6
    rm -f "$out_dir/$name.espeak.wav"
    echo "- \`$name\`: espeak-ng voice \`$voice\`, \"$text\"" >>"$notes"
    echo "$wav"
done
