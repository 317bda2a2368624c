# Sourced by the scripts: the work tree's root, the job count, and the
# folders a run under sudo makes given back to the user who called sudo.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# FRONTPANEL_JOBS: compile and test jobs at once (default: every core).
jobs=${FRONTPANEL_JOBS:-$(nproc)}
if ! [[ $jobs =~ ^[1-9][0-9]*$ ]]; then
  echo "FRONTPANEL_JOBS must be a positive number, not \"$jobs\"" >&2
  exit 2
fi
# give_back <path>...: under sudo, the paths (made by root) go back to the
# user who called sudo, so a later run without sudo can write them.
give_back() {
  if [ "$(id -u)" = 0 ] && [ -n "${SUDO_UID:-}" ] && [ -n "${SUDO_GID:-}" ]; then
    for path in "$@"; do
      [ -e "$path" ] && chown -R "$SUDO_UID:$SUDO_GID" "$path"
    done
  fi
  return 0
}
