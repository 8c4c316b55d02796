# Sourced: sets SOURCE_DATE_EPOCH, the one time that goes into a release (zip entries, signatures), to the
# time of the commit checked out, unless it is set already.
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git -C "$(dirname "${BASH_SOURCE[0]}")/.." log -1 --format=%ct)
fi
export SOURCE_DATE_EPOCH
