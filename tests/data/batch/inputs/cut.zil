Item 36, -3116.15
 3116.15,+2
Item 40, No Responses.

