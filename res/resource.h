// Every resource and command id of Vexa, shared by vexa.rc and the code.
#ifndef VEXA_RESOURCE_H
#define VEXA_RESOURCE_H

// The application's name and the standard commands.
#include "../src/framework/StandardIds.h"

// Main window: dialog template, menu and icon share one id.
#define IDD_PALETTE 1000
#define IDR_MAINMENU 1000
#define IDI_VEXA 1000

// About box and help window.
#define IDD_ABOUT 25000
#define IDD_HELP 25002
#define IDC_ABOUT_PRODUCT 27003
#define IDC_ABOUT_NOTICE 27004
#define IDC_ABOUT_DESCRIPTION 27005
#define IDC_HELP_TEXT 100

// Strings.
#define IDS_PLATFORM_REFUSED 25017
#define IDS_PALETTE_DISPLAY_NEEDED 25018
#define IDS_COPY_FAILED 25019
#define IDS_DESCRIPTION_FORMAT 25023

// View commands.
#define ID_VIEW_SHRINK_TO_FIT 2001
#define ID_VIEW_COLUMNS_8 2002
#define ID_VIEW_COLUMNS_16 2003
#define ID_VIEW_COLUMNS_32 2004
#define ID_VIEW_COLUMNS_64 2005
#define ID_VIEW_COLUMNS_128 2006
#define ID_VIEW_COLUMNS_256 2007
#define ID_VIEW_TOGGLE_BORDER 2008

#endif
