#!/usr/bin/env bash
# Writes the seed corpus of every fuzz target into OUTDIR/<target>/, anew each time.
#   make-corpus.sh [--make-avi PATH] [--data DIR] OUTDIR
# --make-avi: the project's AVI generator; without it the engine's seeds are left out.
# --data:     the data folder, whose language files are seeds of the language targets.
# The build runs this (fuzz/CMakeLists.txt); run-fuzzers.sh copies the seeds into its own working
# corpus. Seeds are small on purpose: the fuzzer mutates them, it does not need them to be long.
set -euo pipefail

make_avi=""
data=""
while [ $# -gt 1 ]; do
  case "$1" in
    --make-avi) make_avi="$2"; shift 2 ;;
    --data) data="$2"; shift 2 ;;
    *) echo "make-corpus.sh: unknown option $1" >&2; exit 2 ;;
  esac
done
[ $# -eq 1 ] || { echo "usage: make-corpus.sh [--make-avi PATH] [--data DIR] OUTDIR" >&2; exit 2; }
out="$1"

fresh() { rm -rf "${out:?}/$1"; mkdir -p "$out/$1"; }
# seed TARGET NAME: standard input becomes OUTDIR/TARGET/NAME.
seed() { cat >"$out/$1/$2"; }
# Writes the 32-bit little-endian number $1.
le32() {
  printf '%b' "$(printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($1 & 255)) $((($1 >> 8) & 255)) \
    $((($1 >> 16) & 255)) $((($1 >> 24) & 255)))"
}

# ---- registry hives (reg_parse, registry_store) ----------------------------------------------
hive_header='Windows Registry Editor Version 5.00'
hives="$out/.hives"
rm -rf "$hives"; mkdir -p "$hives"
printf '%s\n' "$hive_header" >"$hives/empty.reg"
cat >"$hives/settings.reg" <<EOF
$hive_header

[HKEY_CURRENT_USER\\Software\\Tamrix\\Pellucor]
"Language"="/usr/share/pellucor/English.lng"

[HKEY_CURRENT_USER\\Software\\Tamrix\\Pellucor\\Setting]
"SavePath"="/home/user/Documents/Tamrix free Pellucor"
"OutputFormat"=dword:00000002
"PresetIndex"=dword:ffffffff
"DeleteSource"=dword:00000000
"Quoted"="a \\"quoted\\" text with a back\\\\slash"
@="default"
EOF
cat >"$hives/types.reg" <<EOF
$hive_header

; a comment line kept as it is
[HKEY_CURRENT_USER\\Software\\Test]
"Text"="plain"
"Expand"=hex(2):25,00,48,00,4f,00,4d,00,45,00,25,00,2f,00,78,00,00,00
"Binary"=hex:00,01,02,03,fe,ff
"Long"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,17,18,\\
  19,1a,1b,1c,1d,1e,1f,20,21,22,23,24,25,26,27,28,29,2a,2b,2c,2d,2e,2f
"Multi"=hex(7):61,00,00,00,62,00,00,00,00,00
"Qword"=hex(b):01,00,00,00,00,00,00,00
"Empty"=hex:
"Deleted"=-
"SzAsHex"=hex(1):6c,00,69,00,6e,00,65,00,0a,00,00,00

[-HKEY_CURRENT_USER\\Software\\Gone]

[HKEY_CURRENT_USER\\Software\\Test\\Sub]
"N"=dword:0000002a

[HKEY_CURRENT_USER\\Software\\test]
"text"="the later key of the same name wins"
EOF
sed 's/$/\r/' "$hives/settings.reg" >"$hives/settings-crlf.reg"
{ printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE "$hives/settings.reg"; } >"$hives/settings-utf16.reg" 2>/dev/null \
  || rm -f "$hives/settings-utf16.reg"
{ printf '\xef\xbb\xbf'; cat "$hives/types.reg"; } >"$hives/types-bom.reg"
printf '%s\n\n[HKEY_CURRENT_USER\\Software\\X]\n"Open"="no closing quote\n' "$hive_header" >"$hives/bad-quote.reg"
printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\X]\n"A"="b"\n' >"$hives/bad-header.reg"
printf '%s\n\x00\x01\x02binary\xff\n' "$hive_header" >"$hives/bad-binary.reg"
printf '%s\n\n[HKEY_CURRENT_USER\\Software\\X]\n"H"=hex:00,01,\\\n' "$hive_header" >"$hives/bad-continued.reg"

fresh reg_parse
cp "$hives"/*.reg "$out/reg_parse/"

fresh registry_store
cp "$hives"/*.reg "$out/registry_store/"
# The marker "\x01W\x01" adds a write: kind, name, "\x01", data.
{ cat "$hives/settings.reg"; printf '\x01W\x01sSavePath\x01/home/user/Videos/out \xc3\xa9'; } | seed registry_store write-text
{ cat "$hives/settings.reg"; printf '\x01W\x01sLog\x01two\nlines and a \xff byte'; } | seed registry_store write-hex-text
{ cat "$hives/types.reg"; printf '\x01W\x01eexpand\x01%%HOME%%/x'; } | seed registry_store write-expand
{ cat "$hives/types.reg"; printf '\x01W\x01dN\x01\x2a\x00\x00\x80'; } | seed registry_store write-dword
{ cat "$hives/types.reg"; printf '\x01W\x01bBinary\x01\x00\x01\x02'; } | seed registry_store write-binary
{ cat "$hives/bad-quote.reg"; printf '\x01W\x01sLanguage\x01English.lng'; } | seed registry_store write-over-bad

# ---- language files (lang_ini, apply_language) -------------------------------------------------
fresh lang_ini
if [ -n "$data" ]; then
  for f in "$data"/*.lng; do [ -e "$f" ] && cp "$f" "$out/lang_ini/"; done
fi
seed lang_ini rules.lng <<'EOF'
; comment
key=before any section
[Strings]
 12 = "quoted with blanks"  
13='single quoted'
14="unbalanced
15=first||second|||third
15=the second 15 is ignored
0x10=not a number key
16=back\slash at the end\
[strings]
17=the same section again, another case
[Numbers]
Hex=0x1F
Neg=-12
Big=4294967296
Bad=12abc
[a]b]
k=section name with a bracket
[no closing bracket
x=y
EOF
{ printf '[Strings]\r\n12=crlf\r\n13=cr only\r14=after cr\r\n'; } | seed lang_ini crlf.lng
{ printf '\xef\xbb\xbf[Strings]\n12=utf-8 with a byte-order mark \xe2\x82\xac\n'; } | seed lang_ini bom.lng
{ printf '\xff\xfe'; printf '[Strings]\n12=utf-16 \xd0\x96\n' | iconv -f UTF-8 -t UTF-16LE; } 2>/dev/null \
  | seed lang_ini utf16.lng
{ printf '[Font]\nCharSet=RUSSIAN_CHARSET\n[Strings]\n12=\xcf\xf0\xe8\xe2\xe5\xf2\n'; } | seed lang_ini cp1251.lng
{ printf '[Font]\nCharSet=SHIFTJIS_CHARSET\n[Strings]\n12=\x83\x65\x83\x58\x83\x67\x82\n'; } | seed lang_ini cp932-cut.lng
{ printf '[Strings]\n12='; head -c 5000 /dev/zero | tr '\0' 'x'; printf '\n13=after the long line\n'; } \
  | seed lang_ini long-line.lng
{ printf '[frmFuzz]\n'; for i in $(seq 1 40); do printf 'component%03d.with.three.dots=v%d\n' "$i" "$i"; done; } \
  | seed lang_ini many-keys.lng

fresh apply_language
seed apply_language form.lng <<'EOF'
[Font]
Size=11
Name=DejaVu Sans
CharSet=RUSSIAN_CHARSET
BiDiMode=1
[frmFuzz]
frmFuzz.Caption=Fuzzed form||second line
.Width=320
lblTitle.Caption=Title "quoted" \= escaped
btnStart.Hint=Starts||the run
chkSubfolders.Left=0x20
rbOne.Top=-5
gbOutput.Caption=Output
cbFormat.Items=MPEG||MP4||"WMV||FLV"||MOV
cbSize.Text=800x600
lbFiles.Items=x.avi||y.avi
edFolder.Text=/home/user/out
edFolder.MaxLength=3
memoLog.Lines=first||second
memoInfo.Text=some||text
seBitrate.Maximum=0xFFFF
seBitrate.Value=99999
pbProgress.Value=50
tsVideo.Caption=Video page
pcPages.currentIndex=7
qt_tabwidget_tabbar.currentIndex=3
qt_spinbox_lineedit.Text=abc
actOpen.Caption=&Open
mnuFile.Caption=&File
lblHidden.Visible=1
btnDisabled.Enabled=1
lblTitle.Height=2147483647
EOF
{ printf '[Font]\nBiDiMode=2\nSize=-3\n[frmFuzz]\nlblTitle.Caption\n=no key\na.b.c=three parts\n"lblTitle.Caption"=quoted key\nlbltitle.caption=any case\n'; } \
  | seed apply_language odd-lines.lng
# Qt properties of integer and text kind that any line may reach by name.
seed apply_language qt-properties.lng <<'EOF'
[frmFuzz]
cbFormat.modelColumn=3
cbFormat.Items=a||b
cbFormat.maxCount=0
cbFormat.maxVisibleItems=-1
cbSize.currentIndex=9
lbFiles.modelColumn=2
lbFiles.currentRow=-3
memoLog.maximumBlockCount=1
memoLog.Lines=1||2||3
edFolder.cursorPosition=999
edFolder.inputMask=>AAAA-9999;_
seBitrate.displayIntegerBase=1
seBitrate.minimum=100
seBitrate.maximum=-100
pbProgress.format=%p%% of %m
memoInfo.html=<b>bold</b><table><tr><td>cell
memoInfo.markdown=# title
lblTitle.styleSheet=QLabel { font-size: 200px; margin: -5px }
lblTitle.objectName=renamed
renamed.Caption=found by its new name
qt_spinbox_lineedit.maxLength=-1
EOF
if [ -n "$data" ] && [ -e "$data/English.lng" ]; then
  # A real language file, its form section renamed to the fuzz form.
  sed 's/^\[frmPellucor\]/[frmFuzz]/' "$data/English.lng" | seed apply_language English.lng
fi

# ---- change records (change_records): bytes returned, then the buffer -------------------------
fresh change_records
# record ACTION NAME NEXT: one record with its NextEntryOffset as given.
record() { le32 "$3"; le32 "$1"; le32 "${#2}"; printf '%s' "$2"; }
# Aligned records as the change source writes them (padding to four bytes).
pad() { local n=$(( (4 - $1 % 4) % 4 )); head -c "$n" /dev/zero; }
{ le32 17; record 1 "a.avi" 0; } | seed change_records one
{
  n1=$((12 + 9)); n1p=$((n1 + (4 - n1 % 4) % 4))
  n2=$((12 + 13)); n2p=$((n2 + (4 - n2 % 4) % 4))
  le32 $((n1p + n2p + 12 + 9))
  record 4 "old/x.avi" "$n1p"; pad "$n1"
  record 5 "new/long.avi" "$n2p"; pad "$n2"
  record 3 "new/y.avi" 0
} | seed change_records rename
{ le32 4097; record 1 "name.avi" 0; } | seed change_records more-than-buffer
{ le32 30; record 1 "truncated-name.avi" 0 | head -c 20; } | seed change_records cut
{ le32 40; record 2 "a" 4; record 2 "b" 0; } | seed change_records backwards
{ le32 0; record 1 "ignored" 0; } | seed change_records empty-read
{ le32 64; le32 16; le32 1; le32 4294967295; printf 'abcd'; } | seed change_records huge-length

# ---- engine input (engine_input): tiny AVI files ---------------------------------------------
fresh engine_input
if [ -n "$make_avi" ]; then
  a="$out/engine_input"
  "$make_avi" --size 32x24 --fps 5 --seconds 0.4 --video mjpeg --audio pcm --rate 8000 --channels 1 "$a/mjpeg-pcm.avi" >/dev/null
  "$make_avi" --size 32x24 --fps 5 --seconds 0.4 --video mpeg4 --audio none "$a/mpeg4.avi" >/dev/null
  "$make_avi" --size 32x24 --seconds 0.4 --video none --audio mp3 --rate 8000 --channels 1 "$a/mp3.avi" >/dev/null
  # Cut inside the headers, and in the middle of the frames.
  head -c 2000 "$a/mjpeg-pcm.avi" >"$a/cut-header.avi"
  head -c $(( $(wc -c <"$a/mjpeg-pcm.avi") / 2 )) "$a/mjpeg-pcm.avi" >"$a/cut-half.avi"
fi

rm -rf "$hives"
