# The JACK server (dummy driver, no sound card) and the virtual X display that the
# MIDI and window tests use. Each run has its own server name and display, so two
# runs on one machine do not meet.

start_services() {
  export JACK_DEFAULT_SERVER="kr-test-$$"
  export JACK_NO_AUDIO_RESERVATION=1
  # No session bus runs here, so GTK's accessibility bridge would fork dbus-launch to
  # look for one while the program's other threads allocate. Under AddressSanitizer the
  # child can then block for good on an allocator lock held at the fork, and the program
  # waits for that child: a start that never shows its window.
  export NO_AT_BRIDGE=1
  # -S (synchronous): a cycle waits for every client. Without it a client that a busy
  # machine schedules late skips its cycle, and the MIDI events of that cycle are lost.
  # Realtime where allowed (as root, as CI runs), as JACK runs for its users: the server's
  # and its clients' process threads then go ahead of the test programs. At ordinary
  # priority a loaded machine held a synchronous cycle back for seconds behind a starved
  # client thread, and the program's bounded waits on the server (a connection to come
  # up) ran out. Without the right to it, jackd -R would only complain on every client.
  local realtime=--no-realtime
  [ "$(id -u)" -eq 0 ] && realtime=--realtime
  jackd "$realtime" -S -n "$JACK_DEFAULT_SERVER" -d dummy -r 48000 -p 256 >/tmp/kr-jackd-$$.log 2>&1 &
  KR_JACK_PID=$!
  local i
  for i in $(seq 1 100); do
    if jack_lsp -s "$JACK_DEFAULT_SERVER" >/dev/null 2>&1; then break; fi
    sleep 0.1
  done

  # The display tests place and check relative to the screen's size: KR_TEST_SCREEN (such
  # as 1600x1000) runs them on another screen than the usual one.
  local fd_file="/tmp/kr-xvfb-$$.display"
  # -noreset: by default the server resets itself when its last client leaves, and refuses
  # connections while it does. A desktop's session always holds a connection; the tests do
  # not (they drive the display through short xdotool runs, and a test may close its own
  # connection just before it opens the display again), so a test's open could meet a reset.
  Xvfb -noreset -displayfd 3 -screen 0 "${KR_TEST_SCREEN:-1280x1024}x24" -nolisten tcp 3>"$fd_file" >/dev/null 2>&1 &
  KR_XVFB_PID=$!
  for i in $(seq 1 100); do
    if [ -s "$fd_file" ]; then break; fi
    sleep 0.1
  done
  export DISPLAY=":$(head -n1 "$fd_file")"
  rm -f "$fd_file"
}

stop_services() {
  [ -n "${KR_JACK_PID:-}" ] && kill "$KR_JACK_PID" 2>/dev/null && wait "$KR_JACK_PID" 2>/dev/null
  [ -n "${KR_XVFB_PID:-}" ] && kill "$KR_XVFB_PID" 2>/dev/null && wait "$KR_XVFB_PID" 2>/dev/null
  rm -f /tmp/kr-jackd-$$.log
  return 0
}
