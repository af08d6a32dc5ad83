// The framework's own ids, which every program built on it shares: the string of the application's name
// and the standard commands. Plain macros, so that resource scripts can use them too.
#ifndef VEXA_FRAMEWORK_STANDARD_IDS_H
#define VEXA_FRAMEWORK_STANDARD_IDS_H

#define IDS_APP_TITLE 57344

#define ID_FILE_OPEN 57601
#define ID_FILE_SAVE_AS 57604
#define ID_EDIT_CLEAR 57632
#define ID_EDIT_COPY 57634
#define ID_APP_ABOUT 57664
#define ID_APP_EXIT 57665
#define ID_HELP 57670

#endif
