#!/bin/sh
# Regenerates the bitmap fixtures of the image tests from the three small
# source pictures beside this script, with ImageMagick 6 as the independent
# writer. The tests compare every fixture's pixels with its source picture.
#
#   bw.ppm     7 x 3, black and white            -> 1 bit
#   rgb13.ppm  7 x 3, 13 colours                 -> 4, 16, 24 and 32 bits
#   rgb27.ppm  9 x 3, 27 colours                 -> 8 bits
set -eu
cd "$(dirname "$0")"

# Prefer the Debian binary: /usr/local/bin/convert may be a stand-in.
IM=""
for candidate in /usr/bin/convert-im6.q16 /usr/bin/convert-im6 /usr/bin/convert; do
  if [ -x "$candidate" ]; then
    IM=$candidate
    break
  fi
done
if [ -z "$IM" ]; then
  echo "ImageMagick convert not found" >&2
  exit 1
fi

# BMP3: 40-byte BITMAPINFOHEADER; BMP: 124-byte BITMAPV5HEADER;
# BMP2: 12-byte BITMAPCOREHEADER.
"$IM" bw.ppm -type Palette -compress None BMP3:bw_1bit.bmp
"$IM" rgb13.ppm -type Palette -compress None BMP3:rgb13_4bit.bmp
"$IM" rgb13.ppm -type Palette -compress None BMP:rgb13_4bit_v5.bmp
"$IM" rgb13.ppm -type Palette BMP2:rgb13_4bit_core.bmp
"$IM" rgb27.ppm -type Palette -compress None BMP3:rgb27_8bit.bmp
"$IM" rgb27.ppm -type Palette BMP2:rgb27_8bit_core.bmp
"$IM" rgb13.ppm -define bmp:subtype=RGB555 BMP:rgb13_16bit_555_v5.bmp
"$IM" rgb13.ppm -define bmp:subtype=RGB565 BMP:rgb13_16bit_565_v5.bmp
"$IM" rgb13.ppm -type TrueColor BMP3:rgb13_24bit.bmp
"$IM" rgb13.ppm -type TrueColor BMP2:rgb13_24bit_core.bmp
"$IM" rgb13.ppm -alpha on -define bmp3:alpha=true BMP3:rgb13_32bit.bmp
"$IM" rgb13.ppm -type TrueColorAlpha BMP:rgb13_32bit_v5.bmp

# Hostile files, one per reader error (written without ImageMagick).
python3 hostile/make_hostile.py
