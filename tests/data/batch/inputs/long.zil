
Subjects incorporated to date: 002
Data file started on machine LAB-PC3

**********************************************************************
Subject 1, 03/01/2004 10:12:00 on LAB-PC3, refresh 16.67ms, ID SSS001
Item 3333, No Responses.
Item 3333
 512.30,+Space
Item 1005
 100.00,+Bit5 237.50,-Bit5 375.00,+Bit5 512.50,-Bit5 650.00,+Bit5 787.50,-Bit5 925.00,+Bit5 1062.50,-Bit5 1200.00,+Bit5
 1337.50,-Bit5 1475.00,+Bit5 1612.50,-Bit5 1750.00,+Bit5 1887.50,-Bit5 2025.00,+Bit5 2162.50,-Bit5 2300.00,+Bit5 2437.50,-Bit5
 2575.00,+Bit5 2712.50,-Bit5 2850.00,+Bit5 2987.50,-Bit5 3125.00,+Bit5 3262.50,-Bit5 3400.00,+Bit5 3537.50,-Bit5 3675.00,+Bit5
 3812.50,-Bit5 3950.00,+Bit5 4087.50,-Bit5 4225.00,+Bit5 4362.50,-Bit5 4500.00,+Bit5 4637.50,-Bit5 4775.00,+Bit5 4912.50,-Bit5
 5050.00,+Bit5 5187.50,-Bit5
Item 2006
 714.22,+Bit5 896.19,-Bit5

**********************************************************************
Subject 2, 03/02/2004 09:00:00 on LAB-PC3, refresh 16.67ms, ID SSS002
Item 3333
 480.00,+Space
Item 3334, No Responses.

