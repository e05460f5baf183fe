# An installer picture from an SVG, as NSIS takes it: a 24-bit uncompressed
# BMP. cmake -DRSVG=... -DPNGTOPNM=... -DPPMTOBMP=... -DSVG=in.svg
#   -DWIDTH=w -DHEIGHT=h -DOUTPUT=out.bmp -P bitmap.cmake
set(png "${OUTPUT}.png")
set(ppm "${OUTPUT}.ppm")
execute_process(COMMAND "${RSVG}" -w ${WIDTH} -h ${HEIGHT} -o "${png}" "${SVG}" COMMAND_ERROR_IS_FATAL ANY)
# The pictures are opaque: the alpha channel is dropped.
execute_process(COMMAND "${PNGTOPNM}" "${png}" OUTPUT_FILE "${ppm}" COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND "${PPMTOBMP}" -windows -bpp=24 "${ppm}" OUTPUT_FILE "${OUTPUT}.part"
                ERROR_QUIET COMMAND_ERROR_IS_FATAL ANY)
file(RENAME "${OUTPUT}.part" "${OUTPUT}")
file(REMOVE "${png}" "${ppm}")
