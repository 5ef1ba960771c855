#!/usr/bin/env bash
# Ends a test's private office and removes what it leaves: its processes (found by the profile
# path on their command line), the pipe files of its accept pipe and of its profile, the folder.
#   office_cleanup.sh --now          clean up at once
#   office_cleanup.sh --after PID    wait until PID (the test) has ended, then clean up; this
#                                    covers a test that crashed or was killed
# The office's details come in the environment, so this script's own command line never
# matches them: KELMAR_OFFICE_PROFILE (path), KELMAR_OFFICE_PIPE, KELMAR_OFFICE_ROOT (folder).
set -u
profile=${KELMAR_OFFICE_PROFILE:?} pipe=${KELMAR_OFFICE_PIPE:?} root=${KELMAR_OFFICE_ROOT:-}

if [ "${1:-}" = "--after" ]; then
  while kill -0 "$2" 2>/dev/null; do sleep 0.5; done
fi

sweep() {  # kills every process whose command line mentions the profile; says whether any was
  local found=1 f args pid
  for f in /proc/[0-9]*/cmdline; do
    mapfile -d '' args 2>/dev/null <"$f" || continue
    case "${args[*]-}" in
      *"$profile"*)
        pid=${f#/proc/}
        pid=${pid%/cmdline}
        [ "$pid" != $$ ] && kill -9 "$pid" 2>/dev/null && found=0 ;;
    esac
  done
  return $found
}
for _ in 1 2 3 4 5 6 7 8 9 10; do
  sweep || break
  sleep 0.1
done

# A killed office leaves its pipes behind. The profile's own pipe is named after the MD5 of the
# profile URL in UTF-16, each byte in hex without padding.
url="file://$profile"
hash=$(printf %s "$url" | iconv -f UTF-8 -t UTF-16LE | md5sum | cut -c1-32 |
       sed -E 's/(..)/\1 /g; s/(^| )0([0-9a-f])/\1\2/g; s/ //g')
uid=$(id -u)
rm -f "/tmp/OSL_PIPE_${uid}_${pipe}" "/tmp/OSL_PIPE_${uid}_SingleOfficeIPC_${hash}"
[ -n "$root" ] && rm -rf "$root"
exit 0
