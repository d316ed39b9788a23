# The plain-awk yardstick for the conversion benchmark: the composite file of an AZK input,
# as trelvox-batch parse-all writes it without COT (ID, date, trial number, item, RT, error
# code, then any further fields), with the same classification against the time-out.
#   awk -v timeout=2000 -f bench/convert_azk.awk big.azk > composite.dat
function shortDate(text,    parts) {
  split(text, parts, "/")
  return (parts[1] + 0) "/" (parts[2] + 0) "/" parts[3]
}
BEGIN {
  ORS = "\r\n"
  OFS = "\t"
  print "SubID", "Date", "TrialNum", "TrialID", "RT", "Error"
  inBlock = 0
}
{ sub(/\r$/, "") }
!inBlock && /Subject/ && /refresh/ {
  rest = substr($0, index($0, ", ") + 2)
  date = shortDate(substr(rest, 1, 10))
  at = index(rest, ", ID ")
  id = at ? substr(rest, at + 5) : ""
  inBlock = 1
  trial = 0
  getline  # the column line after the header is no trial
  next
}
!inBlock { next }
$0 == "" { inBlock = 0; next }
/^!/ { next }
{
  trial++
  rt = $2 + 0
  code = rt >= 0 ? 0 : (rt == -timeout ? 2 : 1)
  row = id OFS date OFS trial OFS $1 OFS $2 OFS code
  for (i = 3; i <= NF; i++) {
    row = row OFS $i
  }
  print row
}
