# Sourced by the run scripts: a display and an audio sink of our own for Wine.
# start_xvfb sets DISPLAY; start_pulse sets PULSE_SERVER; stop_session ends both.
start_xvfb() {
  n=90
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  i=0
  while [ ! -e "/tmp/.X11-unix/X$n" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
  export DISPLAY=":$n"
  unset XAUTHORITY
}

# A PulseAudio null sink plays in real time, so media positions advance as on
# a machine with a sound card (an ALSA null device runs about four times fast).
start_pulse() {
  pulse_dir="$1"
  mkdir -p "$pulse_dir"
  rm -f "$pulse_dir/native"
  XDG_RUNTIME_DIR="$pulse_dir" HOME="$pulse_dir" pulseaudio -n --daemonize=no --exit-idle-time=-1 \
    --disallow-exit --use-pid-file=no \
    -L "module-null-sink sink_name=nullsink rate=44100" \
    -L "module-native-protocol-unix auth-anonymous=1 socket=$pulse_dir/native" >/dev/null 2>&1 &
  pulse_pid=$!
  i=0
  while [ ! -S "$pulse_dir/native" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
  export PULSE_SERVER="unix:$pulse_dir/native" XDG_RUNTIME_DIR="$pulse_dir"
}

# Under "set -e" a server that is already gone must not fail the script.
stop_session() {
  [ -n "${WINEPREFIX:-}" ] && WINEPREFIX="$WINEPREFIX" wineserver -k >/dev/null 2>&1 || true
  [ -n "${pulse_pid:-}" ] && kill "$pulse_pid" 2>/dev/null || true
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
  return 0
}
