// Resource numbers shared by the resource script and the code.
#define IDI_TRELVOX 1
#define IDB_LOGO 101
