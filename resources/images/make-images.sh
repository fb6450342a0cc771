#!/bin/sh
# Redraws the program's pictures with ImageMagick: the excavator logo, the
# window icon and the splash picture. Run from this folder.
set -e
draw_excavator() { # $1 = background, $2 = output
  convert -size 160x120 xc:"$1" -fill '#e0a000' -stroke black -strokewidth 2 \
    -draw "roundrectangle 20,78 110,96 9,9" \
    -fill '#303030' -draw "circle 32,87 32,80" -draw "circle 98,87 98,80" -draw "circle 65,87 65,81" \
    -fill '#e0a000' -draw "rectangle 30,52 100,78" \
    -draw "polygon 34,34 64,34 64,52 34,52" -fill '#9cc8e8' -draw "rectangle 39,38 60,50" \
    -fill '#e0a000' -draw "polygon 92,56 100,52 128,22 134,28 106,62" \
    -draw "polygon 126,22 134,20 150,58 142,62" \
    -fill '#707070' -draw "polygon 138,58 154,56 150,74 132,70" \
    -stroke none -fill '#8a7a50' -draw "rectangle 0,100 160,120" "$2"
}
draw_excavator '#f4f0dc' Excavator.png
convert Excavator.png -crop 160x104+0+0 +repage -resize 64x64 -background '#f4f0dc' \
  -gravity center -extent 64x64 WindowIcon.png
draw_excavator none excavator-clear.png
convert -size 340x240 gradient:'#bcd8f0'-'#f4f0dc' \( excavator-clear.png -resize 220x165 \) \
  -gravity southwest -geometry +4+0 -composite -fill '#8a7a50' -draw "rectangle 0,226 340,240" Splash.png
rm excavator-clear.png
