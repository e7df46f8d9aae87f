# shellcheck shell=bash
# Reads the library folders of a Windows build from the arguments left ("$@"), each an
# argument of its own or several separated by ';' as the library script writes them; sets
# prefixes (all of them) and qt (the one holding Qt's Windows platform plugin). Sourced.
IFS=';' read -r -a prefixes <<<"$(IFS=';'; echo "$*")"
mapfile -t prefixes < <(printf '%s\n' "${prefixes[@]}" | sed '/^$/d')
((${#prefixes[@]} > 0)) || { echo "no library folder given" >&2; exit 2; }
qt=
for prefix in "${prefixes[@]}"; do
    [[ -f $prefix/plugins/platforms/qwindows.dll ]] && { qt=$prefix; break; }
done
[[ -n $qt ]] || { echo "no Qt for Windows among: ${prefixes[*]}" >&2; exit 2; }
