# Sourced by the script tests: small BMP pictures written byte by byte, as the screen test writes its captures.

# bmp FILE WIDTH ROWS [PADDING]: a 24-bit picture 2 rows high, the bottom row first; ROWS holds each row's pixels as
# \x escapes (blue, green, red), 3 bytes a pixel, and every row is padded to 12 bytes.
bmp() {
  local file=$1 width=$2 rows=$3 pad=${4:-'\x00\x00\x00'}
  local size=$((54 + 24))
  printf "BM\\x$(printf %02x "$size")\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x36\\x00\\x00\\x00" >"$file"
  printf "\\x28\\x00\\x00\\x00\\x$(printf %02x "$width")\\x00\\x00\\x00" >>"$file"
  printf '\x02\x00\x00\x00\x01\x00\x18\x00' >>"$file"
  printf '\x00\x00\x00\x00\x18\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00' >>"$file"
  local row
  for row in $rows; do printf "$row$pad" >>"$file"; done
}
white='\xff\xff\xff\xff\xff\xff\xff\xff\xff'
blue='\xc0\x5c\x00\xc0\x5c\x00\xc0\x5c\x00'
# A top row with its third pixel red.
red_corner='\xff\xff\xff\xff\xff\xff\x00\x00\xff'

# A set of captures as the screen test leaves it: two pictures and the messages of a screen.
make_screens() {
  mkdir -p "$1"
  bmp "$1/Dati Ente.bmp" 3 "$blue $white"
  bmp "$1/Informazioni su.bmp" 3 "$white $white"
  printf 'Normativa in corso di approvazione\n' >"$1/Crea file per la Corte dei Conti.txt"
}
