# Writes a DMDX ZIL result file in the shape DMDX writes it (CR LF, preamble, asterisk lines
# between blocks, "!" lines), with fixed pseudo-random response times.
#   awk -v subjects=1000 -v items=400 -f bench/generate_zil.awk > big.zil
# About 8% of the items have "No Responses"; 7% hold ten responses, which DMDX wraps onto a
# second line beginning with a blank; a quarter hold four responses and the others two.
function response(at, sign) {
  return sprintf(" %.2f,%sBit1", at, sign)
}
# `count` responses: a press and a release each.
function responses(count,    line, i, at) {
  line = ""
  at = 300 + rand() * 900
  for (i = 1; 2 * i <= count; i++) {
    line = line response(at, "+") response(at + 150 + rand() * 100, "-")
    at += 600 + rand() * 700
    if (2 * i == 8 && count > 8) {
      print line  # DMDX starts a new line after nine responses
      line = ""
    }
  }
  print line
}
BEGIN {
  srand(20010401)
  ORS = "\r\n"
  stars = "**********************************************************************"
  print ""
  printf "Subjects incorporated to date: %03d%s", subjects, ORS
  print "Data file started on machine GRAD1"
  print ""
  for (s = 1; s <= subjects; s++) {
    print stars
    printf "Subject %d, 04/%02d/2001 %02d:%02d:%02d on GRAD1, refresh 16.83ms, ID Z%04d%s", \
      s, 1 + (s % 28), 8 + (s % 10), s % 60, (s * 7) % 60, s, ORS
    print "!  Display error at msec 282.42, tick 15 in item 0, frame \"Ready?\""
    for (t = 1; t <= items; t++) {
      draw = rand()
      if (draw < 0.08) {
        printf "Item %d, No Responses.%s", t, ORS
      } else {
        printf "Item %d%s", t, ORS
        responses(draw < 0.15 ? 10 : draw < 0.40 ? 4 : 2)
      }
    }
    print ""
  }
}
