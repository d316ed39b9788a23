# Writes a DMDX AZK result file in the shape DMDX writes it (CR LF, preamble, asterisk lines
# between blocks, "!" lines after the column line), with fixed pseudo-random reaction times.
#   awk -v subjects=2000 -v trials=500 -v timeout=2000 -f bench/generate_azk.awk > big.azk
# About 3% of the trials have no response (RT = -timeout) and 7% are errors (other negative RT).
BEGIN {
  srand(20150626)
  ORS = "\r\n"
  stars = "**********************************************************************"
  print ""
  printf "Subjects incorporated to date: %03d%s", subjects, ORS
  print "Data file started on machine LAB-PC2"
  print ""
  for (s = 1; s <= subjects; s++) {
    print stars
    day = 1 + (s % 28)
    printf "Subject %d, 06/%02d/2015 %02d:%02d:%02d on LAB-PC2, refresh 16.67ms, ID P%04d%s", \
      s, day, 8 + (s % 10), s % 60, (s * 7) % 60, s, ORS
    print "  Item       RT"
    print "!  DMDX is running in auto mode (automatically determined raster sync)"
    print "!  Video Mode 1920,1080,32,60"
    print "!  Item File <C:\\Experiments\\lexdec\\lexdec.rtf>"
    for (t = 1; t <= trials; t++) {
      draw = rand()
      if (draw < 0.03) {
        rt = -timeout
      } else if (draw < 0.10) {
        rt = -(250 + rand() * 1500)
      } else {
        rt = 250 + rand() * 1500
      }
      printf "    %3d  %8.2f%s", t, rt, ORS
    }
    print ""
  }
}
