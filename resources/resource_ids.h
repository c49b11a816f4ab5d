/* The names of the programs' resources and their titles, written once for the resource
   scripts and the C++ code alike: only preprocessor definitions, which windres reads too. */
#ifndef QUARN_RESOURCE_IDS_H
#define QUARN_RESOURCE_IDS_H

/* The digit font: resource type and name (the same word), and the face name it registers. */
#define QUARN_FONT_RESOURCE MYFONT
#define QUARN_DIGIT_FACE "Tavimo"
/* The WAVE resources of a right and a wrong answer. */
#define QUARN_RIGHT_SOUND 101
#define QUARN_WRONG_SOUND 102
/* Every program's icon group. */
#define QUARN_ICON MAINICON

#define QUARN_DIVISION_TITLE "Divide Quarn"
#define QUARN_SUBTRACTION_TITLE "Subtract Quarn"
#define QUARN_REPORT_TITLE "Quarn Report"
/* A focus run is named by its drill's title with this after it ("Divide Quarn Focus"): the
   Start-menu shortcut that starts one, and its log's header. */
#define QUARN_FOCUS_TITLE_SUFFIX " Focus"

#define QUARN_TEXT_OF(x) #x
#define QUARN_TEXT(x) QUARN_TEXT_OF(x)

#endif
