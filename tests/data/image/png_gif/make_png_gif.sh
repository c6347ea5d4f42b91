#!/bin/sh
# Regenerates the PNG and GIF fixtures of the built-in decoder tests with
# ImageMagick 6 as the independent writer, from the source pictures of the
# folder above (and three written here). The tests compare every fixture's
# decoded pixels with its source picture, and the paletted ones' tables and
# transparent indices with what the files say.
#
#   png_index{1,2,4,8}[_interlaced].png  indexed colour at each bit depth
#   png_grey{1,2,4,8,16}.png             greyscale at each bit depth
#   png_greyalpha{8,16}.png              greyscale with alpha
#   png_rgb{8,16}[_interlaced].png       truecolour
#   png_rgba{8,16}.png                   truecolour with alpha
#   png_index8_trns.png                  indexed with one transparent entry
#   png_rgb8_trns.png                    truecolour with a tRNS colour (ignored)
#   gif_{1,2,4,8}bit.gif                 colour tables of 2, 4, 16 and 32 entries
#   gif_interlaced.gif, gif87a.gif       interlaced frame; a GIF87a file
#   gif_transparent.gif                  graphic control extension with an index
#   gif_offset_frame.gif                 a 7 x 3 frame at (2, 1) on an 11 x 5 screen
#   gif_two_frames.gif                   only the first frame is read
# Each *.bmp beside a PNG or GIF of the command-line tests is the same
# picture converted to a bitmap with the same palette order.
set -eu
cd "$(dirname "$0")"

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

# Sources written here: four colours; grey at the levels of 2-, 4- and
# 8-bit grey (and tall27.ppm below).
printf 'P3\n5 2\n255\n255 0 0  0 128 0  0 0 255  255 255 0  255 0 0\n0 0 255  255 255 0  0 128 0  255 0 0  0 0 255\n' >rgb4.ppm
printf 'P3\n4 1\n255\n0 0 0  85 85 85  170 170 170  255 255 255\n' >grey2.ppm
printf 'P3\n4 2\n255\n0 0 0  17 17 17  34 34 34  119 119 119\n136 136 136  204 204 204  238 238 238  255 255 255\n' >grey4.ppm
printf 'P3\n3 2\n255\n0 0 0  1 1 1  77 77 77\n128 128 128  254 254 254  255 255 255\n' >grey8.ppm

png() {  # png SOURCE COLOUR_TYPE BIT_DEPTH OUTPUT [options...]
  source=$1 type=$2 depth=$3 out=$4
  shift 4
  "$IM" "$source" "$@" -define png:color-type="$type" -define png:bit-depth="$depth" \
    -define png:exclude-chunks=date,time,bKGD "$out"
}

png ../bw.ppm 3 1 png_index1.png
png rgb4.ppm 3 2 png_index2.png
png ../rgb13.ppm 3 4 png_index4.png
png ../rgb27.ppm 3 8 png_index8.png
png ../rgb27.ppm 3 8 png_index8_interlaced.png -interlace PNG
png ../bw.ppm 0 1 png_grey1.png
png grey2.ppm 0 2 png_grey2.png
png grey4.ppm 0 4 png_grey4.png
png grey8.ppm 0 8 png_grey8.png
png grey8.ppm 0 16 png_grey16.png
png grey8.ppm 4 8 png_greyalpha8.png -alpha set -channel A -evaluate set 50% +channel
png grey8.ppm 4 16 png_greyalpha16.png -alpha set -channel A -evaluate set 50% +channel
png ../rgb13.ppm 2 8 png_rgb8.png
png ../rgb13.ppm 2 16 png_rgb16.png
png ../rgb13.ppm 2 8 png_rgb8_interlaced.png -interlace PNG
png ../rgb13.ppm 6 8 png_rgba8.png -alpha set -channel A -evaluate set 25% +channel
png ../rgb13.ppm 6 16 png_rgba16.png -alpha set -channel A -evaluate set 25% +channel
png ../rgb13.ppm 2 8 png_rgb8_trns.png -transparent 'rgb(255,0,0)'
# An explicit colour type drops the tRNS of an indexed file; PNG8 keeps it.
"$IM" ../rgb13.ppm -transparent 'rgb(255,0,0)' -define png:exclude-chunks=date,time,bKGD \
  PNG8:png_index8_trns.png

"$IM" ../bw.ppm GIF:gif_1bit.gif
"$IM" rgb4.ppm GIF:gif_2bit.gif
"$IM" ../rgb13.ppm GIF:gif_4bit.gif
"$IM" ../rgb27.ppm GIF:gif_8bit.gif
# Nine rows, so that all four interlace passes hold rows (ImageMagick 6
# misplaces the rows of a 3-row interlaced GIF).
"$IM" ../rgb27.ppm -rotate 90 -compress none tall27.ppm
"$IM" tall27.ppm -interlace GIF GIF:gif_interlaced.gif
"$IM" ../rgb13.ppm GIF87:gif87a.gif
"$IM" ../rgb13.ppm -transparent 'rgb(255,0,0)' GIF:gif_transparent.gif
"$IM" ../rgb13.ppm -background 'rgb(0,0,255)' -repage 11x5+2+1 GIF:gif_offset_frame.gif
"$IM" ../rgb13.ppm ../rgb13.ppm -delay 10 GIF:gif_two_frames.gif

# Bitmaps equal to the command-line test's images.
"$IM" png_index4.png -type Palette -compress None BMP3:png_index4.bmp
"$IM" png_rgb8.png -type TrueColor BMP3:png_rgb8.bmp
"$IM" gif_8bit.gif -type Palette -compress None BMP3:gif_8bit.bmp
