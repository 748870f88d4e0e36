# Sourced by the benchmark scripts. write_results_section FILE NAME TEXT: TEXT (which begins with
# <!-- NAME:begin --> and ends with <!-- NAME:end -->) replaces that section of FILE, or is
# appended when FILE has none; everything else in FILE stays. Prints TEXT.
write_results_section() {
  local results=$1 name=$2 section=$3
  [ -f "$results" ] || echo "# Benchmark results" >"$results"
  if grep -q "<!-- $name:begin -->" "$results"; then
    python3 - "$results" "$name" "$section" <<'PY'
import re, sys
path, name, section = sys.argv[1], sys.argv[2], sys.argv[3]
text = open(path).read()
pattern = '<!-- %s:begin -->.*?<!-- %s:end -->' % (re.escape(name), re.escape(name))
text = re.sub(pattern, lambda m: section, text, flags=re.S)
open(path, 'w').write(text)
PY
  else
    printf '\n%s\n' "$section" >>"$results"
  fi
  echo "$section"
}
