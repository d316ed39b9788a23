
Subjects incorporated to date: 002
Data file started on machine LAB-PC2

**********************************************************************
Subject 1, 06/26/2015 11:20:45 on LAB-PC2, refresh 16.67ms, ID Z1       COT
!  Display error at msec 287.40, tick 12 in item 0, frame "READY"
Item 101, COT 0.00, 59.44
 59.44,-Space
Item 102, COT 1534.20, 612.33
 612.33,+Bit5 700.10,-Bit5
Item 103, COT 3010.75, No Responses.
!  Counter 1 has value 7
Item 104, COT 4520.00, 401.90
 401.90,+Bit5 455.00,-Bit5 980.25,+Bit1

**********************************************************************
Subject 2, 06/27/2015 08:05:10 on LAB-PC2, refresh 16.67ms       COT
Item 101, COT 0.00, No Responses.
Item 102, COT 1534.41, 720.06
 720.06,+Bit5
