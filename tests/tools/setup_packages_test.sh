#!/bin/sh
# tools/setup-packages against a stand-in dpkg and apt-get: a package whose only copies are of
# another architecture (as --cross leaves libvterm-dev) is missing, and apt-get waits for the lock.
# Usage: setup_packages_test.sh SCRIPT
set -eu
script=$1
fake=$(mktemp -d)
trap 'rm -rf "$fake"' EXIT

cat >"$fake/dpkg" <<'END'
#!/bin/sh
case "$1" in
  --print-architecture) echo amd64 ;;
  --print-foreign-architectures) printf 'arm64\narmhf\n' ;;
esac
END
# Every package is there for arm64 and armhf; for amd64 all but those in $MISSING_NATIVE.
cat >"$fake/dpkg-query" <<'END'
#!/bin/sh
for name; do :; done
case "$name" in
  *:amd64) case " $MISSING_NATIVE " in *" ${name%:amd64} "*) exit 1 ;; esac; echo installed ;;
  *:all) exit 1 ;;
  *:*) echo installed ;;
  *) echo "install ok installed" ;;
esac
END
printf '#!/bin/sh\necho 0\n' >"$fake/id"
printf '#!/bin/sh\necho "$*" >>"$APT_LOG"\n' >"$fake/apt-get"
chmod +x "$fake"/*

run() {
  : >"$fake/apt.log"
  PATH="$fake:$PATH" APT_LOG="$fake/apt.log" MISSING_NATIVE="$1" sh "$script" --tests >"$fake/out" 2>&1 || {
    cat "$fake/out"
    exit 1
  }
}
fail() {
  echo "FAILED: $*"
  cat "$fake/out" "$fake/apt.log"
  exit 1
}

run "libvterm-dev"
grep -q 'install .* libvterm-dev$' "$fake/apt.log" || fail "libvterm-dev:amd64 missing was counted as installed"
grep -vq 'DPkg::Lock::Timeout=300' "$fake/apt.log" && fail "an apt-get that does not wait for the lock"

run ""
[ -s "$fake/apt.log" ] && fail "apt-get ran with everything installed"
grep -q 'everything needed is installed' "$fake/out" || fail "no word that everything is installed"
echo "passed"
