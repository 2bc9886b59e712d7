/* Identifiers shared by the program's resources (tilora.rc) and its code:
 * pictures, icons, dialog templates, their controls, and the main window's
 * commands and child windows.  Plain macros, so that the resource compiler
 * reads them too. */
#ifndef TILORA_RESOURCE_IDS_H
#define TILORA_RESOURCE_IDS_H

/* Pictures of the custom resource type "JPG". */
#define PICTURE_STARTUP 126
#define PICTURE_SPLASH 127
#define PICTURE_CAPTIONS 135
#define PICTURE_LOGO 136
#define PICTURE_BACKGROUND 137

/* Icon groups: the program's, and the print dialogs'. */
#define IDI_TILORA 122
#define IDI_PRINT 123

/* The main window's commands and child windows. */
#define ID_OPEN 101
#define ID_SCAN 102
#define ID_SCAN_SELECT 103
#define ID_PAGE_SETUP 104
#define ID_PRINT 106
#define ID_WEB 108
#define ID_HELP 109
#define ID_OPTIONS 110
#define ID_POSTER_WIDTH 111
#define ID_POSTER_HEIGHT 112
#define ID_PREVIEW 113
#define ID_CROP 114
#define ID_UNCROP 115
#define ID_POSTER_SIZE 116
#define ID_EXTRAS 117

/* The Options dialog and its unit list. */
#define IDD_OPTIONS 134
#define IDC_UNITS 1016
#define IDC_UNITS_LABEL 1017

/* The print job's dialogs and their controls. */
#define IDD_PRINTING 128
#define IDD_PRINT 129
#define IDC_PAPER_FRAME 1005
#define IDC_PAGE_COUNTER 1006
#define IDC_DOCUMENT_NAME 1007
#define IDC_PROGRESS_BAR 1008
#define IDC_PRINTER_NAME 1009  /* the progress dialog's printer line */
#define IDC_PRINT_MARGINS 1009 /* the confirmation dialog's check box */
#define IDC_QUALITY 1010
#define IDC_CONFIRM_TEXT 1018
#define IDC_STAGE 1027
#define IDC_NOTE 1028

/* The page setup dialog: the system's print-setup controls at their standard
 * identifiers (dlgs.h), and the margins group. */
#define IDD_PRINT_SETUP 140
#define IDC_MARGIN_LEFT 141
#define IDC_MARGIN_TOP 142
#define IDC_MARGIN_RIGHT 143
#define IDC_MARGIN_BOTTOM 144
#define IDC_MARGINS_GROUP 145
#define IDC_MARGIN_LEFT_LABEL 1102
#define IDC_MARGIN_RIGHT_LABEL 1103
#define IDC_MARGIN_TOP_LABEL 1104
#define IDC_MARGIN_BOTTOM_LABEL 1105

/* The poster extras dialog: seamless sheets, the glue band, labels, marks,
 * the assembly sheet, the resolution meter and sizing by sheets. */
#define IDD_EXTRAS 150
#define IDC_SEAMLESS 151
#define IDC_OVERLAP 152
#define IDC_LABELS 153
#define IDC_TRIM_MARKS 154
#define IDC_ASSEMBLY_SHEET 155
#define IDC_SHOW_RESOLUTION 156
#define IDC_RESOLUTION_WARNING 157
#define IDC_LOW_PPI 158
#define IDC_VERY_LOW_PPI 159
#define IDC_SHEETS_ACROSS 160
#define IDC_SHEETS_DOWN 161
#define IDC_RESOLUTION_TEXT 162

#endif
