# Sourced: the environment every Wine run of this project shares.
# $1 is the folder that holds the private prefix and the home Wine is given,
# so nothing in the user's real home is touched. With "managed" as $2 the
# prefix leaves its windows to the desktop's window manager (for a person
# at a real display); otherwise they are unmanaged, as the tests want.
wine_root=$(mkdir -p "$1" && cd "$1" && pwd)
export WINEPREFIX="$wine_root/prefix"
export HOME="$wine_root/home"
export WINEDEBUG=-all
# No debugger for a program that crashes: it would keep running, holding the
# test's output open until the test times out, instead of simply ending.
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
# The Unix locale sets the ANSI code page of the Windows programs started
# from here (C.UTF-8: Windows-1252; ru_RU.UTF-8: Windows-1251).
export LC_ALL=${LIROTUNE_LOCALE:-C.UTF-8}
export WINEARCH=win64
# Debian 13's Wine aborts in wineboot ("free(): invalid pointer") whenever
# TMPDIR is set, whatever it names; Wine keeps its own temporary files in
# the prefix anyway.
unset TMPDIR

# Without a sound card, the media service only opens devices when ALSA's
# default device is the null device. That device takes sound as fast as it
# comes, and Wine 10 then ends every track early (Wine 8 keeps time
# itself), so wine-session.sh gives Wine a sound server with a sink that
# plays in real time; this is the fallback.
if [ ! -f "$HOME/.asoundrc" ]; then
  mkdir -p "$HOME"
  printf 'pcm.!default { type null }\nctl.!default { type null }\n' > "$HOME/.asoundrc"
fi

# The prefix is made once and reused; the lock keeps parallel tests from
# making it twice.
if [ ! -f "$WINEPREFIX/.lirotune-ready" ]; then
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.lirotune-ready" ]; then
      wineboot -i >/dev/null 2>&1 || true
      # Without a window manager Wine waits about 2 s whenever a top-level
      # window is hidden or closed; unmanaged windows don't.
      if [ "${2:-}" != managed ]; then
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
      fi
      wineserver -w
      touch "$WINEPREFIX/.lirotune-ready"
    fi
  ) 9>"$wine_root/.prefix.lock"
fi
