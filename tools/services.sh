#!/usr/bin/env bash
# Starts or stops what the Windows tests need: a private Wine prefix and a PulseAudio server with
# the null sinks "mic" (its monitor is the default source, so audio played into it is captured)
# and "speaker" (the default sink, recordable from speaker.monitor).
# Source this file: it exports the variables the tests run with.
services_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="$services_root/build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export PULSE_RUNTIME_PATH="$services_root/build/pulse"
export PULSE_STATE_PATH="$services_root/build/pulse"
export PULSE_SERVER="unix:$PULSE_RUNTIME_PATH/native"

services_wine_prefix() {
    [ -f "$WINEPREFIX/system.reg" ] && return 0
    echo "services: creating the Wine prefix (once)"
    WINELOADER=/usr/lib/wine/wine64 /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1 || true
    WINELOADER=/usr/lib/wine/wine64 /usr/lib/wine/wineserver64 -w || true
}

services_start() {
    services_wine_prefix
    mkdir -p "$PULSE_RUNTIME_PATH"
    if ! pactl info >/dev/null 2>&1; then
        pulseaudio --daemonize=yes --exit-idle-time=-1 -n \
            --load="module-native-protocol-unix socket=$PULSE_RUNTIME_PATH/native auth-anonymous=1" \
            --load="module-null-sink sink_name=mic" \
            --load="module-null-sink sink_name=speaker" \
            --log-target=file:"$PULSE_RUNTIME_PATH/log" 2>/dev/null
        for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
        touch "$PULSE_RUNTIME_PATH/started-here"
    fi
    pactl set-default-source mic.monitor
    pactl set-default-sink speaker
}

services_stop() {
    WINELOADER=/usr/lib/wine/wine64 /usr/lib/wine/wineserver64 -k 2>/dev/null || true
    if [ -f "$PULSE_RUNTIME_PATH/started-here" ]; then
        pactl exit 2>/dev/null || true
        rm -f "$PULSE_RUNTIME_PATH/started-here"
    fi
}
