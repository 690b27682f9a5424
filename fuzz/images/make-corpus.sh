#!/bin/bash
# Makes the image fuzz targets' seed corpora: small valid files of every variant the readers
# handle, written by ImageMagick and libjpeg-turbo's cjpeg, with a few variants those tools do
# not write (a GIF with a local colour table and code size 1, a 2-bit BMP, cursors, animated
# cursors) assembled here from their files. Usage: fuzz/images/make-corpus.sh
# The files are committed; run this again only to change them.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)/corpus
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A small picture with smooth areas, edges and a transparent corner.
src=$work/source.png
convert -size 24x16 -seed 5 plasma: \( +clone -fx '(i+j<6) ? 0 : 1' \) -alpha off -compose copy_opacity -composite \
  PNG32:"$src"
noise=$work/noise.png
convert -size 64x64 -seed 7 xc: +noise Random -colors 16 "$noise"

out() { mkdir -p "$root/$1"; echo "$root/$1/$2"; }

# GIF: code sizes 2 to 8 (2 to 256 colours), interlaced, transparent, GIF87a, clear codes.
for colours in 2 4 8 16 32 64 128 256; do
  convert "$src" -alpha off -colors "$colours" "$(out fuzz_image_gif colours-$colours.gif)"
done
convert "$src" -alpha off -colors 16 -interlace GIF "$(out fuzz_image_gif interlaced.gif)"
convert "$src" -alpha off -colors 16 -interlace GIF -resize 9x3\! "$(out fuzz_image_gif interlaced-3-rows.gif)"
convert "$src" -colors 8 "$(out fuzz_image_gif transparent.gif)"
convert "$src" -alpha off -colors 16 GIF87:"$(out fuzz_image_gif gif87a.gif)"
convert "$noise" "$(out fuzz_image_gif clear-codes.gif)"
# The global table moved behind the image descriptor: a local colour table.
perl -e '
  local $/; open F, "<", $ARGV[0]; binmode F; $g = <F>;
  $n = 3 * (2 << (ord(substr($g, 10, 1)) & 7));
  $table = substr($g, 13, $n); $rest = substr($g, 13 + $n);
  $at = index($rest, ",");
  $d = substr($rest, $at, 10); substr($d, 9, 1) = chr(ord(substr($d, 9, 1)) | 0x80 | (ord(substr($g, 10, 1)) & 7));
  print substr($g, 0, 10), chr(ord(substr($g, 10, 1)) & 0x7F), substr($g, 11, 2), substr($rest, 0, $at), $d, $table,
        substr($rest, $at + 10);
' "$root/fuzz_image_gif/colours-16.gif" > "$(out fuzz_image_gif local-table.gif)"
# Code size 1: a 2-colour 8 x 2 picture in literal codes of 2 and 3 bits (clear, indices, end).
perl -e '
  @codes = (2, 0, 1, 1, 0, 0, 1, 0, 1, 1, 1, 0, 0, 1, 0, 1, 0, 3);
  ($last, $w, $first, $acc, $n, $bytes) = (3, 2, 1, 0, 0, "");
  for $c (@codes) {
    $acc |= $c << $n; $n += $w;
    while ($n >= 8) { $bytes .= chr($acc & 255); $acc >>= 8; $n -= 8; }
    if ($first) { $first = 0 if $c != 2; next; }
    if ($last + 1 < 4096) { $last++; $w++ if (1 << $w) == $last + 1 && $w < 12; }
  }
  $bytes .= chr($acc) if $n;
  print "GIF89a", pack("vvCCC", 8, 2, 0x80, 0, 0), "\x10\x20\x30\xe0\xd0\xc0",
        ",", pack("vvvvC", 0, 0, 8, 2, 0), "\x01", chr(length $bytes), $bytes, "\x00;";
' > "$(out fuzz_image_gif code-size-1.gif)"

# JPEG: 4:4:4, 4:2:2, 4:2:0 and grey, with and without restart intervals, odd sizes.
ppm=$work/source.ppm
convert "$src" -alpha off "$ppm"
for sampling in 1x1 2x1 2x2; do
  cjpeg -quality 80 -sample "$sampling" "$ppm" > "$(out fuzz_image_jpg ycc-$sampling.jpg)"
  cjpeg -quality 80 -sample "$sampling" -restart 1B "$ppm" > "$(out fuzz_image_jpg ycc-$sampling-restart.jpg)"
done
cjpeg -quality 80 -grayscale "$ppm" > "$(out fuzz_image_jpg grey.jpg)"
cjpeg -quality 80 -grayscale -restart 2B "$ppm" > "$(out fuzz_image_jpg grey-restart.jpg)"
cjpeg -quality 50 -optimize -sample 2x2 "$ppm" > "$(out fuzz_image_jpg optimized.jpg)"
convert "$src" -alpha off -resize 17x9\! -quality 70 "$(out fuzz_image_jpg imagemagick-17x9.jpg)"

# BMP: every bit depth, 16 bits as 5-5-5 and with 5-6-5 masks, a top-down file.
convert "$src" -alpha off -type bilevel BMP3:"$(out fuzz_image_bmp depth-1.bmp)"
convert "$src" -alpha off -colors 16 -type palette -compress none BMP3:"$(out fuzz_image_bmp depth-4.bmp)"
convert "$src" -alpha off -colors 200 -type palette -compress none BMP3:"$(out fuzz_image_bmp depth-8.bmp)"
# ImageMagick marks its 16-bit BMP3 files as bit fields without writing the masks; compression 0
# is what the 5-5-5 layout says.
convert "$src" -alpha off -define bmp:subtype=RGB555 BMP3:- |
  perl -e 'local $/; $b = <STDIN>; substr($b, 30, 4) = pack("V", 0); print $b' > "$(out fuzz_image_bmp depth-16.bmp)"
convert "$src" -alpha off -define bmp:subtype=RGB565 BMP:"$(out fuzz_image_bmp depth-16-masks.bmp)"
convert "$src" -alpha off -type truecolor BMP3:"$(out fuzz_image_bmp depth-24.bmp)"
convert "$src" -type truecolormatte BMP:"$(out fuzz_image_bmp depth-32.bmp)"
# 2 bits: the 4-bit file's pixels repacked, four colours, two pixels wide.
perl -e '
  print "BM", pack("VvvV", 14 + 40 + 16 + 8, 0, 0, 14 + 40 + 16),
        pack("VllvvVVllVV", 40, 2, -4, 1, 2, 0, 8, 0, 0, 4, 0),
        "\x00\x00\x00\x00\xff\xff\xff\x00\x00\x00\xff\x00\x00\xff\x00\x00",
        "\x1b\x00\x00\x00", "\xe4\x00\x00\x00", "\x4e\x00\x00\x00", "\xb1\x00\x00\x00";
' > "$(out fuzz_image_bmp depth-2-top-down.bmp)"

# TGA: uncompressed and run-length, 24 and 32 bits.
convert "$src" -alpha off -compress none "$(out fuzz_image_tga raw-24.tga)"
convert "$src" -compress none "$(out fuzz_image_tga raw-32.tga)"
convert "$src" -alpha off -compress RLE "$(out fuzz_image_tga rle-24.tga)"
convert "$src" -compress RLE "$(out fuzz_image_tga rle-32.tga)"
convert -size 40x6 xc:'#336699' -fill '#cc3300' -draw 'rectangle 10,0 25,5' -compress RLE "$(out fuzz_image_tga rle-runs.tga)"

# PCX: 1 bit, 8 bits with a palette, 24 bits in three planes.
convert "$src" -alpha off -colors 2 -type palette -depth 1 "$(out fuzz_image_pcx depth-1.pcx)"
convert "$src" -alpha off -colors 64 -type palette "$(out fuzz_image_pcx depth-8.pcx)"
convert "$src" -alpha off -type truecolor "$(out fuzz_image_pcx depth-24.pcx)"

# Icons: several entries and depths; a cursor is an icon of type 2 with a hot spot.
icon=$work/icon.png
convert "$src" -resize 16x16\! PNG32:"$icon"
convert "$icon" -colors 2 -type palettematte "$(out fuzz_image_ico depth-1.ico)"
convert "$icon" -colors 16 -type palettematte "$(out fuzz_image_ico depth-4.ico)"
convert "$icon" -colors 200 -type palettematte "$(out fuzz_image_ico depth-8.ico)"
convert "$icon" -alpha off -type truecolor "$(out fuzz_image_ico depth-24.ico)"
convert "$icon" -define icon:auto-resize=32,16 "$(out fuzz_image_ico two-entries.ico)"
perl -e 'local $/; $i = <STDIN>; substr($i, 2, 1) = "\x02"; substr($i, 10, 4) = pack("vv", 3, 5); print $i' \
  < "$root/fuzz_image_ico/depth-4.ico" > "$(out fuzz_image_ico cursor.cur)"

# Animated cursors: RIFF "ACON" with a header, rates and two icon frames.
perl -e '
  sub chunk { my ($t, $d) = @_; my $c = $t . pack("V", length $d) . $d; $c .= "\0" if length($d) & 1; $c }
  local $/;
  open A, "<", $ARGV[0]; binmode A; $a = <A>;
  open B, "<", $ARGV[1]; binmode B; $b = <B>;
  $body = "ACON" . chunk("anih", pack("V9", 36, 2, 2, 0, 0, 0, 0, 8, 1))
        . chunk("rate", pack("V2", 8, 8)) . chunk("LIST", "fram" . chunk("icon", $a) . chunk("icon", $b));
  print "RIFF", pack("V", length $body), $body;
' "$root/fuzz_image_ico/depth-4.ico" "$root/fuzz_image_ico/depth-1.ico" > "$(out fuzz_image_ani two-frames.ani)"

du -sh "$root"
