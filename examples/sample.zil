
Subjects incorporated to date: 002
Data file started on machine LAB-PC2

**********************************************************************
Subject 1, 03/15/2024 14:10:22 on LAB-PC2, refresh 16.67ms, ID Q01
!  DMDX is running in auto mode (automatically determined raster sync)
Item 101
 612.40,+Bit1
Item 102
 488.19,+Bit2 903.55,-Bit2
Item 103, No Responses.
!  Counter 2 has value 1
Item 104
 730.02,+Bit1
Item 105
 551.67,+Bit2

**********************************************************************
Subject 2, 03/15/2024 14:41:09 on LAB-PC2, refresh 16.67ms, ID Q02
Item 101
 702.93,+Bit2
Item 102, No Responses.
Item 103
 644.28,+Bit1 1290.71,+Bit2
Item 104
 598.00,+Bit1
Item 105, No Responses.
!  Counter 2 has value 2

