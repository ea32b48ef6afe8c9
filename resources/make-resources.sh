#!/usr/bin/env bash
# Rebuilds every picture, icon and sound that Lanterra embeds, plus a contact
# sheet to look them over:
#
#   bitmaps/  board (200), selection frame (201), the fourteen pieces (208..222)
#   icons/    program (100), quotation (101), win (108), draw (109), loss (110)
#   sounds/   event sounds 300..311
#   icons/lanterra-{192,512,maskable-512}.png   the page's icons for a home screen
#   contact-sheet.png
#
# Everything is drawn from scratch with ImageMagick and synthesized with SoX;
# the only outside material is the fonts listed in README.md.  Missing tools
# and fonts are installed from Debian's packages.  Noise is seeded, so a rerun
# with the same package versions gives the same files.
#
# Usage: resources/make-resources.sh [PART...]   (writes into resources/)
# PART is board, frame, pieces, icons, web-icons, sounds or sheet; without
# one, every part is made.
set -euo pipefail

HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
BMP_DIR=$HERE/bitmaps
ICO_DIR=$HERE/icons
WAV_DIR=$HERE/sounds
SHEET=$HERE/contact-sheet.png

# ---------------------------------------------------------------- tools ----

PACKAGES=(imagemagick sox libsox-fmt-base fontconfig python3 bc
          fonts-arphic-ukai fonts-noto-cjk fonts-dejavu-core)

install_missing() {
  local missing=() p
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
  done
  ((${#missing[@]} == 0)) && return
  echo "installing: ${missing[*]}"
  local sudo=()
  ((EUID == 0)) || sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}
install_missing

# Call ImageMagick by its full path: some machines put a wrapper named
# "convert" earlier on PATH.
IM=/usr/bin/convert
[[ -x $IM ]] || { echo "ImageMagick's convert not found at $IM" >&2; exit 1; }
PY=$(command -v python3)

font_file() {  # family style -> path of the font file
  fc-match -f '%{file}' "$1:style=$2"
}
KAI=$(font_file "AR PL UKai TW" Book)          # piece and river lettering
SERIF_BOLD=$(font_file "Noto Serif CJK TC" Bold) # icon lettering
LABEL_FONT=$(font_file "DejaVu Sans" Book)      # contact sheet captions
for f in "$KAI" "$SERIF_BOLD" "$LABEL_FONT"; do
  [[ -f $f ]] || { echo "font missing: $f" >&2; exit 1; }
done
# ImageMagick picks a face of a .ttc collection by name, not by file.
KAI_FACE=AR-PL-UKai-TW
SERIF_FACE=Noto-Serif-CJK-TC-Bold
IM_FONTS=$($IM -list font)
for face in "$KAI_FACE" "$SERIF_FACE"; do
  grep -q "Font: $face\$" <<<"$IM_FONTS" || { echo "ImageMagick does not know font $face" >&2; exit 1; }
done

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
mkdir -p "$BMP_DIR" "$ICO_DIR" "$WAV_DIR"

# Writes an 8-bit palette BMP (BITMAPINFOHEADER, BI_RGB, bottom-up, 256-entry
# palette) from a binary PPM on stdin.  ImageMagick would pick 1 or 4 bits for
# pictures with few colours; LoadImage takes any, but we want one format.
cat >"$WORK/bmp8.py" <<'PY'
import struct, sys

def read_ppm(data):
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b'#':
            pos = data.index(b'\n', pos)
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    pos += 1
    if fields[0] != b'P6' or fields[3] != b'255':
        sys.exit('expected an 8-bit binary PPM')
    w, h = int(fields[1]), int(fields[2])
    return w, h, data[pos:pos + 3 * w * h]

w, h, rgb = read_ppm(sys.stdin.buffer.read())
pixels = [rgb[i:i + 3] for i in range(0, len(rgb), 3)]
colours = sorted(set(pixels))
if len(colours) > 256:
    sys.exit('%s: %d colours, at most 256 fit a palette' % (sys.argv[1], len(colours)))
index = {c: i for i, c in enumerate(colours)}
palette = b''.join(bytes((c[2], c[1], c[0], 0)) for c in colours)
palette += b'\0' * (1024 - len(palette))
stride = (w + 3) & ~3
rows = []
for y in range(h - 1, -1, -1):
    row = bytes(index[p] for p in pixels[y * w:(y + 1) * w])
    rows.append(row + b'\0' * (stride - w))
bits = b''.join(rows)
offset = 14 + 40 + 1024
header = struct.pack('<2sIHHI', b'BM', offset + len(bits), 0, 0, offset)
info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 8, 0, len(bits), 2835, 2835, 256, 0)
with open(sys.argv[1], 'wb') as f:
    f.write(header + info + palette + bits)
PY

to_bmp8() {  # picture.png out.bmp
  $IM "$1" -alpha off -depth 8 ppm:- | "$PY" "$WORK/bmp8.py" "$2"
}

# ---------------------------------------------------------------- board ----
# 520 x 576.  A board point (file f 3..11, rank r 3..12) lies at the centre of
# its 56 x 56 cell: x = 36 + 56 (f - 3), y = 36 + 56 (r - 3).  Everything but
# the wood grain and the river lettering is symmetric under a half turn, since
# the same picture is shown when the player takes black.
#
# ImageMagick puts integer coordinates on pixel centres, so the point between
# pixels 35 and 36 is 35.5; all drawing coordinates below are given that way.

W=520 H=576
INK='#4b2a12'            # board lines
X() { echo "$((36 + 56 * ($1 - 3) - 1)).5"; }   # file -> x of its line
Y() { echo "$((36 + 56 * ($1 - 3) - 1)).5"; }   # rank -> y of its line

board_lines() {
  local d=() f r
  # the outer frame, 6 px outside the grid
  d+=("stroke-width 3 fill none rectangle 29.5,29.5 489.5,545.5")
  d+=("stroke-width 2")
  for r in $(seq 3 12); do d+=("line $(X 3),$(Y "$r") $(X 11),$(Y "$r")"); done
  # edge files run through the river, inner files stop at its banks
  d+=("line $(X 3),$(Y 3) $(X 3),$(Y 12)" "line $(X 11),$(Y 3) $(X 11),$(Y 12)")
  for f in $(seq 4 10); do
    d+=("line $(X "$f"),$(Y 3) $(X "$f"),$(Y 7)" "line $(X "$f"),$(Y 8) $(X "$f"),$(Y 12)")
  done
  # palaces
  d+=("line $(X 6),$(Y 3) $(X 8),$(Y 5)" "line $(X 8),$(Y 3) $(X 6),$(Y 5)")
  d+=("line $(X 6),$(Y 10) $(X 8),$(Y 12)" "line $(X 8),$(Y 10) $(X 6),$(Y 12)")
  # start-point marks for cannons and pawns: small corners around the point,
  # left out beyond the edge files
  local g=5 l=9 sx sy x y
  for pt in 5:4 5:10 10:4 10:10 6:3 6:5 6:7 6:9 6:11 9:3 9:5 9:7 9:9 9:11; do
    r=${pt%%:*} f=${pt##*:}
    x=$((36 + 56 * (f - 3))) y=$((36 + 56 * (r - 3)))
    for sx in -1 1; do
      ((f == 3 && sx < 0)) && continue
      ((f == 11 && sx > 0)) && continue
      for sy in -1 1; do
        d+=("polyline $(shift_pts "$x" "$y" "$sx" "$sy" "$g" "$l")")
      done
    done
  done
  printf '%s\n' "${d[@]}"
}

shift_pts() {  # x y sx sy gap length -> the three corner points, pixel-centre coords
  local x=$1 y=$2 sx=$3 sy=$4 g=$5 l=$6
  local ax=$((x + sx * g)) ay=$((y + sy * (g + l))) bx=$((x + sx * g)) by=$((y + sy * g))
  local cx=$((x + sx * (g + l))) cy=$((y + sy * g))
  echo "$((ax - 1)).5,$((ay - 1)).5 $((bx - 1)).5,$((by - 1)).5 $((cx - 1)).5,$((cy - 1)).5"
}

make_board() {
  # wood: fine streaks stretched along the board, gently waved, with a few
  # broad cloudy patches
  $IM -seed 11 -size 24x600 xc: +noise Random -channel G -separate +channel \
      -blur 0x0.8 -resize 560x600\! -wave 4x260 -gravity center -crop ${W}x${H}+0+0 +repage \
      -auto-level "$WORK/grain.png"
  $IM -seed 5 -size ${W}x${H} plasma:grey50-grey50 -colorspace gray -blur 0x8 -auto-level "$WORK/cloud.png"
  $IM "$WORK/grain.png" "$WORK/cloud.png" -compose blend -define compose:args=35 -composite \
      -auto-level +level-colors '#cf9a5a','#ebc992' "$WORK/wood.png"

  # the rim outside the frame is stained a shade darker, with a bevelled edge
  $IM -size ${W}x${H} xc:white -fill 'gray82' -draw "rectangle 0,0 519,575" \
      -fill white -draw "rectangle 14,14 505,561" -blur 0x2 \
      -fill none -stroke 'gray60' -strokewidth 2 -draw "rectangle 1,1 518,574" \
      "$WORK/stain.png"
  $IM "$WORK/wood.png" "$WORK/stain.png" -compose multiply -composite "$WORK/board-wood.png"

  # The lines are drawn as a mask and merged with their own half turn, so
  # that anti-aliasing cannot make one side of the board differ from the other.
  $IM -size ${W}x${H} xc:white -draw "stroke black $(board_lines)" \
      \( +clone -rotate 180 \) -compose darken -composite -negate "$WORK/lines-mask.png"
  # river lettering, carved: a light edge under dark ink
  local river_y=287 size=40
  $IM "$WORK/board-wood.png" \
      \( -size ${W}x${H} xc:"$INK" "$WORK/lines-mask.png" -alpha off -compose CopyOpacity -composite \) \
      -compose over -composite \
      -font "$KAI_FACE" -pointsize $size -gravity center -stroke none -strokewidth 0 \
      -fill '#f4dcae' -annotate +$((148 - 260 + 1))+$((river_y - 288 + 1)) '楚　河' \
      -annotate +$((372 - 260 + 1))+$((river_y - 288 + 1)) '漢　界' \
      -fill "$INK" -stroke "$INK" -strokewidth 0.7 \
      -annotate +$((148 - 260))+$((river_y - 288)) '楚　河' \
      -annotate +$((372 - 260))+$((river_y - 288)) '漢　界' \
      -dither FloydSteinberg -colors 256 "$WORK/board.png"
  to_bmp8 "$WORK/board.png" "$BMP_DIR/board.bmp"
}

# ---------------------------------------------------------------- frame ----
# 56 x 56, blue corner marks on the key colour, no anti-aliasing (the key
# colour must stay exact).
make_frame() {
  local a=2 t=3 l=15 b=$((56 - 2 - 1))   # inset, thickness, arm length, far edge
  $IM -size 56x56 xc:'#00ff00' +antialias -fill '#0000ff' -stroke none \
      -draw "rectangle $a,$a $((a + l - 1)),$((a + t - 1)) rectangle $a,$a $((a + t - 1)),$((a + l - 1))" \
      -draw "rectangle $((b - l + 1)),$a $b,$((a + t - 1)) rectangle $((b - t + 1)),$a $b,$((a + l - 1))" \
      -draw "rectangle $a,$((b - t + 1)) $((a + l - 1)),$b rectangle $a,$((b - l + 1)) $((a + t - 1)),$b" \
      -draw "rectangle $((b - l + 1)),$((b - t + 1)) $b,$b rectangle $((b - t + 1)),$((b - l + 1)) $b,$b" \
      "$WORK/frame.png"
  to_bmp8 "$WORK/frame.png" "$BMP_DIR/frame.bmp"
}

# --------------------------------------------------------------- pieces ----
# A boxwood disc seen slightly from above: a darker rim shows below the face.
# Drawn at four times the size on an opaque board-coloured ground and scaled
# down, so the edge is smoothed against wood, never against the key colour;
# then everything outside a hard-edged disc becomes pure green.
S=4 N=$((56 * S))   # supersampling factor, drawing size
GROUND='#dcb277'
RED_INK='#b3141c'
BLACK_INK='#1d1a18'

piece_face() {
  [[ -f $WORK/face.png ]] && return
  # face: radial light from the upper left
  $IM -size $((N * 3 / 2))x$((N * 3 / 2)) radial-gradient:'#fcefcc'-'#d4a462' \
      -crop ${N}x${N}+$((N / 2 - N / 10))+$((N / 2 - N / 10)) +repage "$WORK/face-grad.png"
  $IM -size ${N}x${N} xc:black -fill white -draw "circle 111.5,109.5 111.5,$((110 - 100))" "$WORK/face-mask.png"
  $IM -size ${N}x${N} xc:"$GROUND" \
      -fill '#6f4120' -draw "circle 111.5,114.5 111.5,$((115 - 105))" \
      -fill '#a86f38' -draw "circle 111.5,112.5 111.5,$((113 - 102))" \
      \( "$WORK/face-grad.png" "$WORK/face-mask.png" -alpha off -compose CopyOpacity -composite \) \
      -compose over -composite "$WORK/face.png"
  # the hard outline: what covers at least half a pixel of the 1x picture
  $IM -size ${N}x${N} xc:black -fill white -draw "circle 111.5,114.5 111.5,$((115 - 105))" \
      -draw "circle 111.5,109.5 111.5,$((110 - 100))" \
      -filter box -resize 56x56 -threshold 50% "$WORK/outline.png"
}

make_piece() {  # glyph ink out.bmp
  local glyph=$1 ink=$2 out=$3 name
  name=$(basename "$out" .bmp)
  piece_face
  $IM "$WORK/face.png" \
      -fill none -stroke "$ink" -strokewidth 6 -draw "circle 111.5,109.5 111.5,$((110 - 82))" \
      -font "$KAI_FACE" -pointsize 118 -gravity center \
      -fill '#fff6df' -stroke '#fff6df' -strokewidth 3 -annotate +2-0 "$glyph" \
      -fill "$ink" -stroke "$ink" -strokewidth 3 -annotate +0-3 "$glyph" \
      -filter Lanczos -resize 56x56 +dither -colors 255 "$WORK/$name-disc.png"
  $IM "$WORK/$name-disc.png" "$WORK/outline.png" -alpha off -compose CopyOpacity -composite \
      -background '#00ff00' -compose over -flatten "$WORK/$name.png"
  to_bmp8 "$WORK/$name.png" "$out"
}

PIECES=(  # id name glyph side
  208 red-king 帥 red     209 red-advisor 仕 red     210 red-bishop 相 red
  211 red-knight 馬 red   212 red-rook 車 red        213 red-cannon 砲 red
  214 red-pawn 兵 red
  216 black-king 將 black   217 black-advisor 士 black 218 black-bishop 象 black
  219 black-knight 馬 black 220 black-rook 車 black    221 black-cannon 炮 black
  222 black-pawn 卒 black)

make_pieces() {
  local i ink
  for ((i = 0; i < ${#PIECES[@]}; i += 4)); do
    ink=$RED_INK
    [[ ${PIECES[i + 3]} == black ]] && ink=$BLACK_INK
    make_piece "${PIECES[i + 2]}" "$ink" "$BMP_DIR/${PIECES[i + 1]}.bmp"
  done
}

# ---------------------------------------------------------------- icons ----
# Each size is drawn on its own at four times the size and scaled down, with
# a transparent background; the .ico holds 32-bit images with alpha.

icon_disc() {  # size face-light face-dark rim ink glyph out.png
  local s=$1 z=$(($1 * 4)) light=$2 dark=$3 rim=$4 ink=$5 glyph=$6 out=$7
  local c r inner pt
  c=$(echo "$z / 2 - 0.5" | bc -l)
  r=$(echo "$z * 0.47" | bc -l)
  inner=$(echo "$z * 0.37" | bc -l)
  pt=$(echo "$z * 0.56" | bc -l)
  local ring=$((z / 28 + 1))
  local ring_draw=(-fill none -stroke "$ink" -strokewidth "$ring" -draw "circle $c,$c $c,$(echo "$c - $inner" | bc -l)")
  # at 16 pixels an inner ring is only clutter: a bigger character instead
  ((s <= 16)) && { pt=$(echo "$z * 0.74" | bc -l); ring_draw=(); }
  $IM -size $((z * 3 / 2))x$((z * 3 / 2)) radial-gradient:"$light"-"$dark" \
      -crop ${z}x${z}+$((z / 2 - z / 10))+$((z / 2 - z / 10)) +repage "$WORK/ig.png"
  $IM -size ${z}x${z} xc:none -fill "$rim" -draw "circle $c,$c $c,$(echo "$c - $r" | bc -l)" \
      \( "$WORK/ig.png" \( -size ${z}x${z} xc:black -fill white \
           -draw "circle $c,$c $c,$(echo "$c - $r + $z / 18" | bc -l)" \) -alpha off -compose CopyOpacity -composite \) \
      -compose over -composite \
      "${ring_draw[@]}" \
      -font "$SERIF_FACE" -pointsize "$pt" -gravity center -fill "$ink" -stroke none -strokewidth 0 \
      -annotate +0-$((z / 40)) "$glyph" \
      -filter Lanczos -resize "${s}x${s}" "$out"
}

icon_scroll() {  # size out.png: a hanging scroll of the classics with a red seal
  local s=$1 z=$(($1 * 4)) out=$2
  local u=$((z / 32))   # one pixel of the 32-pixel picture
  local writing
  if ((s > 16)); then
    writing=(-font "$SERIF_FACE" -pointsize $((15 * u)) -gravity center -fill '#2a1c12'
             -stroke none -strokewidth 0 -annotate +0-$((2 * u)) 書
             -fill '#c0262c' -draw "rectangle $((19 * u)),$((22 * u)) $((22 * u)),$((25 * u))")
  else  # too small for a character: two columns of writing and the seal
    writing=(-fill '#2a1c12' -stroke none
             -draw "rectangle $((17 * u)),$((8 * u)) $((20 * u)),$((22 * u))"
             -draw "rectangle $((11 * u)),$((8 * u)) $((14 * u)),$((17 * u))"
             -fill '#c0262c' -draw "rectangle $((11 * u)),$((20 * u)) $((14 * u)),$((23 * u))")
  fi
  $IM -size ${z}x${z} xc:none \
      -fill '#00000030' -draw "rectangle $((7 * u)),$((5 * u)) $((27 * u)),$((30 * u))" \
      -fill '#f7ecd2' -stroke '#9a7646' -strokewidth $((u / 2 + 1)) \
      -draw "rectangle $((6 * u)),$((4 * u)) $((25 * u)),$((28 * u))" \
      "${writing[@]}" \
      -fill '#7a4522' -stroke '#4a2812' -strokewidth $((u / 2 + 1)) \
      -draw "roundrectangle $((3 * u)),$((2 * u)) $((28 * u)),$((5 * u)) $u,$u" \
      -draw "roundrectangle $((3 * u)),$((27 * u)) $((28 * u)),$((30 * u)) $u,$u" \
      -filter Lanczos -resize "${s}x${s}" "$out"
}

make_ico() {  # out.ico pictures...
  local out=$1
  shift
  $IM "$@" "$out"
}

make_icons() {
  local s list=()
  # 100: the program, a red general
  for s in 48 32; do
    icon_disc $s '#fdf0cf' '#d6a660' '#7a4a22' "$RED_INK" 帥 "$WORK/app$s.png"
    list+=("$WORK/app$s.png")
  done
  # at 16 pixels the ivory-on-red reverse reads better
  icon_disc 16 '#e0343a' '#9a0e14' '#5a1a10' '#fff4dc' 帥 "$WORK/app16.png"
  list+=("$WORK/app16.png")
  make_ico "$ICO_DIR/lanterra.ico" "${list[@]}"
  # 101: quotations
  icon_scroll 32 "$WORK/quote32.png"
  icon_scroll 16 "$WORK/quote16.png"
  make_ico "$ICO_DIR/quote.ico" "$WORK/quote32.png" "$WORK/quote16.png"
  # 108..110: the result of a game
  icon_disc 32 '#fff4b0' '#d29a12' '#8a5a08' '#b3141c' 勝 "$WORK/win32.png"
  icon_disc 32 '#f2f6fa' '#98a8b8' '#4e5e70' '#1f3550' 和 "$WORK/draw32.png"
  icon_disc 32 '#8a8a8a' '#3a3a3a' '#1a1a1a' '#e8e2d6' 負 "$WORK/loss32.png"
  make_ico "$ICO_DIR/win.ico" "$WORK/win32.png"
  make_ico "$ICO_DIR/draw.ico" "$WORK/draw32.png"
  make_ico "$ICO_DIR/loss.ico" "$WORK/loss32.png"
}

# ------------------------------------------------------------ web icons ----
# The page's icons for a phone's home screen or an installed app: the
# program's red general drawn anew at 192 and 512 pixels, so that the
# lettering and the ring stay sharp. The maskable one is opaque: the disc
# lies on board-coloured wood within the middle 80% of the square, the part
# a launcher's mask never cuts off. PNG without time stamps, so a rerun
# writes the same bytes.

png_out() {  # in.png out.png: written with no time or gamma chunks
  $IM "$1" -strip -depth 8 +set date:create +set date:modify \
      -define png:exclude-chunks=date,time,gAMA,cHRM,bKGD "$2"
}

make_web_icons() {
  local s
  for s in 192 512; do
    icon_disc $s '#fdf0cf' '#d6a660' '#7a4a22' "$RED_INK" 帥 "$WORK/web$s.png"
    png_out "$WORK/web$s.png" "$ICO_DIR/lanterra-$s.png"
  done
  # a disc 400 pixels wide has its rim at 188 pixels from the middle, inside
  # the 205-pixel circle of the 512-pixel square that a mask keeps
  icon_disc 400 '#fdf0cf' '#d6a660' '#7a4a22' "$RED_INK" 帥 "$WORK/web400.png"
  $IM -size 512x512 xc:"$GROUND" "$WORK/web400.png" -gravity center -compose over -composite \
      -alpha off "$WORK/maskable.png"
  png_out "$WORK/maskable.png" "$ICO_DIR/lanterra-maskable-512.png"
}

# --------------------------------------------------------------- sounds ----
# PCM mono, 16 bit, 11025 Hz.  Wooden knocks are a click ringing through a few
# resonators (the modes of a block of wood); bells ring the same way with
# long decays.  Knocks peak at -6 dBFS; the sustained chimes at -10 dBFS, which
# makes them about as loud to the ear.

RATE=11025
SOX=(sox -V1 -R -D)

impulse() {  # out.wav length: one click followed by silence
  "${SOX[@]}" -n -r $RATE -c 1 -e floating-point -b 32 "$1" synth 1s square 1 pad 0 "$2"
}

mode() {  # out.wav length freq q [gain-dB]: the click ringing at one frequency
  "${SOX[@]}" "$WORK/imp-$2.wav" -e floating-point -b 32 "$1" bandpass "$3" "$4q" norm "$((${5:-0} - 1))"
}

knock() {  # out.wav length freq:q:gain ... : a wooden knock
  local out=$1 len=$2 parts=() i=0 tone
  shift 2
  [[ -f $WORK/imp-$len.wav ]] || impulse "$WORK/imp-$len.wav" "$len"
  for tone in "$@"; do
    IFS=: read -r f q g <<<"$tone"
    mode "$WORK/k$i.wav" "$len" "$f" "$q" "$g"
    parts+=("$WORK/k$i.wav")
    i=$((i + 1))
  done
  "${SOX[@]}" -m "${parts[@]}" -e floating-point -b 32 "$out" highpass 180 norm -6
}

bell() {  # out.wav length freq [decay-q]: one struck bell note
  local out=$1 len=$2 f=$3 q=${4:-900}
  [[ -f $WORK/imp-$len.wav ]] || impulse "$WORK/imp-$len.wav" "$len"
  # partials of a small bell: 1, 2, 2.76 and 5.4 times the note
  local p parts=() i=0
  for p in 1:0 2:-6 2.76:-10 5.4:-18; do
    local mul=${p%%:*} g=${p##*:} pf
    pf=$(echo "$f * $mul" | bc -l)
    (($(echo "$pf < 5000" | bc))) || continue
    mode "$WORK/b$i.wav" "$len" "$pf" "$q" "$g"
    parts+=("$WORK/b$i.wav")
    i=$((i + 1))
  done
  if ((${#parts[@]} == 1)); then cp "${parts[0]}" "$out"; else "${SOX[@]}" -m "${parts[@]}" -e floating-point -b 32 "$out"; fi
}

delayed() {  # in.wav out.wav seconds
  "${SOX[@]}" "$1" "$2" pad "$3" 0
}

mixdown() {  # out.wav length in.wav... : mix, cut to length, fade the tail, peak at $PEAK dBFS
  local out=$1 n
  n=$(printf '%.0fs' "$(echo "$2 * $RATE" | bc -l)")   # length in samples
  shift 2
  # a bed of silence of the exact length, so short inputs need no padding
  "${SOX[@]}" -n -r $RATE -c 1 -e floating-point -b 32 "$WORK/bed.wav" synth "$n" sine 0 vol 0
  "${SOX[@]}" -m "$WORK/bed.wav" "$@" -b 16 "$out" trim 0 "$n" fade t 0 "$n" 0.05 norm "${PEAK:--6}"
}

SOUNDS=(  # id name
  300 select 301 refused 302 human-move 303 computer-move 304 human-capture
  305 computer-capture 306 human-check 307 computer-check 308 win 309 draw
  310 loss 311 new-game)

make_sounds() {
  local w=$WORK
  # 300 select: a light, high tick
  knock "$w/select.wav" 0.09 1850:25:0 3900:30:-5 2700:20:-8
  mixdown "$WAV_DIR/select.wav" 0.09 "$w/select.wav"
  # 301 refused: a dull double thud, lower than any move
  knock "$w/thud.wav" 0.14 210:12:0 470:10:-4 820:8:-10
  delayed "$w/thud.wav" "$w/thud2.wav" 0.13
  mixdown "$WAV_DIR/refused.wav" 0.28 "$w/thud.wav" "$w/thud2.wav"
  # 302/303 a move: a piece set down on the board; the computer's a little lower
  knock "$w/move.wav" 0.18 720:30:0 1980:34:-3 3150:30:-9 420:10:-8
  mixdown "$WAV_DIR/human-move.wav" 0.18 "$w/move.wav"
  knock "$w/move2.wav" 0.18 610:30:0 1700:34:-3 2750:30:-9 360:10:-8
  mixdown "$WAV_DIR/computer-move.wav" 0.18 "$w/move2.wav"
  # 304/305 a capture: one piece knocks the other off, a quick clack-clack
  knock "$w/clack.wav" 0.16 1100:22:0 2600:26:-2 3600:22:-6 560:10:-6
  delayed "$w/clack.wav" "$w/clack2.wav" 0.07
  mixdown "$WAV_DIR/human-capture.wav" 0.26 "$w/clack.wav" "$w/clack2.wav" "$w/move.wav"
  knock "$w/clack3.wav" 0.16 940:22:0 2250:26:-2 3200:22:-6 480:10:-6
  delayed "$w/clack3.wav" "$w/clack4.wav" 0.07
  mixdown "$WAV_DIR/computer-capture.wav" 0.26 "$w/clack3.wav" "$w/clack4.wav" "$w/move2.wav"
  # 306/307 check: the move, then a bright warning ping
  bell "$w/ping.wav" 0.4 1568 500
  delayed "$w/ping.wav" "$w/ping-late.wav" 0.05
  mixdown "$WAV_DIR/human-check.wav" 0.45 "$w/move.wav" "$w/ping-late.wav"
  bell "$w/ping2.wav" 0.4 1175 500
  delayed "$w/ping2.wav" "$w/ping2-late.wav" 0.05
  mixdown "$WAV_DIR/computer-check.wav" 0.45 "$w/move2.wav" "$w/ping2-late.wav"
  # 308 win: a rising major arpeggio
  local notes n t parts=()
  notes=(523.25:0 659.26:0.12 783.99:0.24 1046.5:0.36)
  for n in "${notes[@]}"; do
    t=${n##*:}
    bell "$w/win-$t.wav" 1.0 "${n%%:*}" 1400
    delayed "$w/win-$t.wav" "$w/win-$t-d.wav" "$t"
    parts+=("$w/win-$t-d.wav")
  done
  PEAK=-10 mixdown "$WAV_DIR/win.wav" 1.35 "${parts[@]}"
  # 309 draw: two calm notes a fifth apart, the second held
  bell "$w/draw1.wav" 1.0 587.33 1400
  bell "$w/draw2.wav" 1.0 880 1400
  delayed "$w/draw2.wav" "$w/draw2-d.wav" 0.22
  PEAK=-10 mixdown "$WAV_DIR/draw.wav" 1.2 "$w/draw1.wav" "$w/draw2-d.wav"
  # 310 loss: a slow falling minor line, low and soft
  parts=()
  notes=(659.26:0 523.25:0.18 440:0.36 329.63:0.54)
  for n in "${notes[@]}"; do
    t=${n##*:}
    bell "$w/loss-$t.wav" 0.9 "${n%%:*}" 1000
    delayed "$w/loss-$t.wav" "$w/loss-$t-d.wav" "$t"
    parts+=("$w/loss-$t-d.wav")
  done
  PEAK=-10 mixdown "$WAV_DIR/loss.wav" 1.4 "${parts[@]}"
  # 311 new game: pieces set out on the board, then a small gong
  knock "$w/set.wav" 0.15 800:28:0 2100:30:-3 3300:26:-9
  bell "$w/gong.wav" 1.0 196 1600
  delayed "$w/set.wav" "$w/set2.wav" 0.09
  delayed "$w/set.wav" "$w/set3.wav" 0.17
  delayed "$w/gong.wav" "$w/gong-d.wav" 0.3
  PEAK=-10 mixdown "$WAV_DIR/new-game.wav" 1.3 "$w/set.wav" "$w/set2.wav" "$w/set3.wav" "$w/gong-d.wav"
}

# -------------------------------------------------------- contact sheet ----

# The start position as the game draws it: each picture put over the board
# with the key colour left out, frames over pieces.  Shown both ways up.
START=(  # rank file piece
  3 3 black-rook 3 4 black-knight 3 5 black-bishop 3 6 black-advisor 3 7 black-king
  3 8 black-advisor 3 9 black-bishop 3 10 black-knight 3 11 black-rook
  5 7 black-cannon 6 3 black-pawn 6 5 black-pawn 6 7 black-pawn 6 9 black-pawn 6 11 black-pawn
  5 4 black-cannon
  12 3 red-rook 12 4 red-knight 12 5 red-bishop 12 6 red-advisor 12 7 red-king
  12 8 red-advisor 12 9 red-bishop 12 10 red-knight 12 11 red-rook
  10 4 red-cannon 10 10 red-cannon 9 3 red-pawn 9 5 red-pawn 9 7 red-pawn 9 9 red-pawn 9 11 red-pawn)
FRAMED=(5 10 5 7 12 4)   # black's last move (cannon to the centre), red's selected knight

sprite() {  # bmp -> png with the key colour made transparent, exactly as blitted
  $IM "$1" -alpha set -transparent '#00ff00' "$2"
}

sheet_board() {  # flipped out.png
  local flipped=$1 out=$2 args=() i r f x y
  for ((i = 0; i < ${#START[@]}; i += 3)); do
    r=${START[i]} f=${START[i + 1]}
    ((flipped)) && { r=$((15 - r)); f=$((14 - f)); }
    x=$((8 + 56 * (f - 3))) y=$((8 + 56 * (r - 3)))
    args+=("$WORK/sprite-${START[i + 2]}.png" -geometry "+$x+$y" -composite)
  done
  for ((i = 0; i < ${#FRAMED[@]}; i += 2)); do
    r=${FRAMED[i]} f=${FRAMED[i + 1]}
    ((flipped)) && { r=$((15 - r)); f=$((14 - f)); }
    x=$((8 + 56 * (f - 3))) y=$((8 + 56 * (r - 3)))
    args+=("$WORK/sprite-frame.png" -geometry "+$x+$y" -composite)
  done
  $IM "$BMP_DIR/board.bmp" "${args[@]}" "$out"
}

make_sheet() {
  local i name
  for ((i = 0; i < ${#PIECES[@]}; i += 4)); do
    sprite "$BMP_DIR/${PIECES[i + 1]}.bmp" "$WORK/sprite-${PIECES[i + 1]}.png"
  done
  sprite "$BMP_DIR/frame.bmp" "$WORK/sprite-frame.png"
  sheet_board 0 "$WORK/sheet-red.png"
  sheet_board 1 "$WORK/sheet-black.png"

  # pieces twice their size, on a checked ground that shows the cut-out
  $IM -size 112x112 pattern:checkerboard -fill '#ffffff80' -colorize 40 "$WORK/check.png"
  for ((i = 0; i < ${#PIECES[@]}; i += 4)); do
    name=${PIECES[i + 1]}
    $IM "$WORK/check.png" \( "$WORK/sprite-$name.png" -scale 200% \) -composite \
        -gravity south -background '#efe4cf' -splice 0x16 -font "$LABEL_FONT" -pointsize 11 \
        -annotate +0+1 "${PIECES[i]} $name" "$WORK/z-$name.png"
  done
  local reds=() blacks=()
  for ((i = 0; i < ${#PIECES[@]}; i += 4)); do
    name=${PIECES[i + 1]}
    [[ $name == red-* ]] && reds+=("$WORK/z-$name.png") || blacks+=("$WORK/z-$name.png")
  done
  $IM "$WORK/check.png" \( "$WORK/sprite-frame.png" -scale 200% \) -composite \
      -gravity south -background '#efe4cf' -splice 0x16 -font "$LABEL_FONT" -pointsize 11 \
      -annotate +0+1 "201 frame" "$WORK/z-frame.png"
  $IM "${reds[@]}" -background '#efe4cf' -splice 6x0 +append "$WORK/row-red.png"
  $IM "${blacks[@]}" "$WORK/z-frame.png" -background '#efe4cf' -splice 6x0 +append "$WORK/row-black.png"

  # icons at their own sizes and three times larger, on light and dark ground
  local icons=() f id
  for f in lanterra:100 quote:101 win:108 draw:109 loss:110; do
    name=${f%%:*} id=${f##*:}
    local parts=() n j bg
    n=$($IM "$ICO_DIR/$name.ico" -format '%p\n' info: | wc -l)
    for ((j = 0; j < n; j++)); do
      for bg in '#efe4cf' '#3b3f46'; do
        $IM -background "$bg" "$ICO_DIR/$name.ico[$j]" -flatten +repage "$WORK/ic-$name-$j-$bg.png"
        parts+=("$WORK/ic-$name-$j-$bg.png")
        $IM -background "$bg" "$ICO_DIR/$name.ico[$j]" -flatten +repage -scale 300% "$WORK/icz-$name-$j-$bg.png"
        parts+=("$WORK/icz-$name-$j-$bg.png")
      done
    done
    $IM -background '#efe4cf' "${parts[@]}" -gravity west -splice 6x0 -gravity center +append +repage \
        -gravity east -splice 6x0 -gravity south -splice 0x16 -font "$LABEL_FONT" -pointsize 11 -annotate +0+1 "$id $name.ico" \
        "$WORK/icons-$name.png"
    icons+=("$WORK/icons-$name.png")
  done
  $IM "${icons[@]}" -background '#efe4cf' -gravity west -splice 14x0 -gravity south +append "$WORK/row-icons.png"

  # sounds: a spectrogram each, 0 to 5.5 kHz, time running right at 700 px/s
  local sounds=() len
  for ((i = 0; i < ${#SOUNDS[@]}; i += 2)); do
    id=${SOUNDS[i]} name=${SOUNDS[i + 1]}
    len=$(soxi -D "$WAV_DIR/$name.wav")
    sox "$WAV_DIR/$name.wav" -n spectrogram -r -X 700 -y 64 -l -z 70 -o "$WORK/spectrum-$name.png"
    $IM -size 180x64 xc:'#efe4cf' -font "$LABEL_FONT" -pointsize 13 -fill '#3a2a1c' \
        -gravity west -annotate +4+0 "$id $name\n$(printf '%.2f' "$len") s" \
        "$WORK/spectrum-$name.png" +append -background '#efe4cf' -gravity west -extent 1080x70 \
        "$WORK/snd-$name.png"
    sounds+=("$WORK/snd-$name.png")
  done
  $IM "${sounds[@]:0:6}" -append "$WORK/snd-a.png"
  $IM "${sounds[@]:6:6}" -append "$WORK/snd-b.png"
  $IM "$WORK/snd-a.png" "$WORK/snd-b.png" -background '#efe4cf' -gravity northwest +append "$WORK/row-sounds.png"

  $IM -background '#efe4cf' \
      \( "$WORK/sheet-red.png" "$WORK/sheet-black.png" -splice 16x0 +append \) \
      "$WORK/row-red.png" "$WORK/row-black.png" "$WORK/row-icons.png" "$WORK/row-sounds.png" \
      -gravity northwest -splice 0x14 -append -bordercolor '#efe4cf' -border 12 \
      +repage -alpha off -depth 8 +set date:create +set date:modify -define png:exclude-chunks=date,time "$SHEET"
}

PARTS=(board frame pieces icons web-icons sounds sheet)
(($# > 0)) && PARTS=("$@")
for part in "${PARTS[@]}"; do
  case $part in
    board|frame|pieces|icons|web-icons|sounds|sheet) ;;
    *) echo "unknown part: $part (board frame pieces icons web-icons sounds sheet)" >&2; exit 2 ;;
  esac
done
for part in "${PARTS[@]}"; do "make_${part//-/_}"; done
