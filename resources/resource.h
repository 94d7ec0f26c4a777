/* Identifiers shared by the resource script and the program. */
#ifndef RODADERO_RESOURCE_H
#define RODADERO_RESOURCE_H

#define IDI_RODADERO 105
#define IDC_RUN_MODE 1005
#define IDC_ALPHA_SCROLL 1006
#define IDC_RESET 1007
#define IDC_STATIC -1

#endif
