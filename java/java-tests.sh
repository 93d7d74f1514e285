#!/bin/sh
# Checks the Java pieces with the host JVM: the test class's header and output (also for a
# directory with blanks), and the sample wizard's semaphore file.
# Usage: java-tests.sh JAVA BINDIR
set -u
java=$1
bin=$2
passed=0
failed=0
check() {
  if [ "$1" = "$2" ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED: $3: expected [$2], got [$1]"
  fi
}

header=$(od -An -tx1 -N8 "$bin/TestJvm.class" | tr -d ' \n')
check "$header" "cafebabe0003002d" "TestJvm.class declares class-file version 45.3"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$bin/TestJvm.class" "$work/"
expected="java.version=$("$java" -XshowSettings:properties -version 2>&1 |
  sed -n 's/^ *java.version = //p')"

(cd "$work" && "$java" -cp . TestJvm "$work")
check "$(head -n 1 "$work/jvmGood.txt" 2>/dev/null)" "$expected" "first line of jvmGood.txt"

mkdir -p "$work/dir with blanks"
# The directory reaches the class split at its blanks, as an unquoted command line gives it.
(cd "$work" && "$java" -cp . TestJvm $work/dir with blanks)
check "$(head -n 1 "$work/dir with blanks/jvmGood.txt" 2>/dev/null)" "$expected" \
  "jvmGood.txt in a directory with blanks"

mkdir -p "$work/wizard"
printf 'nativeJvmHomeDir=C:/jre\nnativeJvmInstalled=false\nconfigureWinRegistry=true\n' \
  >"$work/wizard/native.properties"
out=$(cd "$work/wizard" && "$java" -jar "$bin/install.jar" -q details)
check "$(test -f "$work/wizard/__qrvwizard.sem" && echo yes)" "yes" "wizard creates its semaphore"
check "$(echo "$out" | head -n 1)" "nativeJvmHomeDir=C:/jre" "wizard reads native.properties"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
