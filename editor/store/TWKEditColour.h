// Character classes of a line for colouring, one byte per byte of the line.
#pragma once
#include <windows.h>

class TWKEdit;
struct TWKEditLine;

enum
{
    CLASS_TEXT = 2,      // every byte starts with it
    CLASS_KEYWORD = 4,   // part of a keyword
    CLASS_QUOTE = 8,     // between two matching quote marks
    CLASS_COMMENT = 16,  // part of a comment, delimiters included
};

// Fills the classes of the line's first nSize bytes the way the painter
// colours them: keywords, then comments, then quoted strings outside
// comments. Returns the number of bytes classified.
int TWKEditClassifyLine(TWKEdit* pEdit, TWKEditLine* pLine, BYTE* pClasses, int nSize);
