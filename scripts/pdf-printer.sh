#!/usr/bin/env bash
# A PDF printer for a machine without any: a private print scheduler (cupsd)
# listening only on a socket in STATE, whose one queue, TiloraPDF, is the
# default and writes every job as one PDF file into PDF_DIR (the cups-pdf
# backend; its settings go to /etc/cups/cups-pdf-tilora.conf, so run as root).
#   pdf-printer.sh start STATE PDF_DIR   starts it; prints the socket path, to
#                                        be used as CUPS_SERVER
#   pdf-printer.sh stop STATE            stops it and removes its settings
set -euo pipefail
command=${1:-}
state=${2:-}
[ -n "$command" ] && [ -n "$state" ] || { echo "usage: $0 start STATE PDF_DIR | stop STATE" >&2; exit 2; }
instance=tilora
instance_conf=/etc/cups/cups-pdf-$instance.conf
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
socket=$state/cups.sock

stop() {
  if [ -f "$state/cupsd.pid" ]; then
    kill "$(cat "$state/cupsd.pid")" 2>/dev/null || true
    rm -f "$state/cupsd.pid"
  fi
  rm -f "$instance_conf"
}

case "$command" in
stop)
  stop
  ;;
start)
  pdf_dir=${3:?PDF_DIR is missing}
  stop
  mkdir -p "$state"/{conf,spool/tmp,cache,state,log,cups-pdf-spool} "$pdf_dir"
  cat >"$state/conf/cupsd.conf" <<CONF
LogLevel warn
Listen $socket
Browsing No
WebInterface No
DefaultAuthType None
IdleExitTimeout 0
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  JobPrivateAccess all
  JobPrivateValues none
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
  cat >"$state/conf/cups-files.conf" <<CONF
SystemGroup root
ServerRoot $state/conf
RequestRoot $state/spool
TempDir $state/spool/tmp
CacheDir $state/cache
StateDir $state/state
ErrorLog $state/log/error_log
AccessLog $state/log/access_log
PageLog $state/log/page_log
Printcap $state/printcap
Sandboxing relaxed
CONF
  cat >"$instance_conf" <<CONF
Out $pdf_dir
Spool $state/cups-pdf-spool
Log $state/log
LogType 1
Label 1
CONF
  cupsd -f -c "$state/conf/cupsd.conf" -s "$state/conf/cups-files.conf" >"$state/log/cupsd.out" 2>&1 &
  echo $! >"$state/cupsd.pid"
  for _ in $(seq 100); do
    CUPS_SERVER=$socket lpstat -r 2>/dev/null | grep -q "is running" && break
    sleep 0.1
  done
  CUPS_SERVER=$socket lpadmin -p TiloraPDF -E -v "cups-pdf:/$instance" -P "$ppd" >/dev/null
  CUPS_SERVER=$socket lpadmin -d TiloraPDF >/dev/null
  echo "$socket"
  ;;
*)
  echo "usage: $0 start STATE PDF_DIR | stop STATE" >&2
  exit 2
  ;;
esac
