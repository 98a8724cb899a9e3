// The report and document templates are kept as plain text under content/reports and compiled into ".txd"
// documents by the build. A source is read line by line:
//
//     // a comment                  skipped
//     = Title                       a title line, bold, 14 points
//     == Heading                    a heading line, bold, 11 points
//     ---                           a page break
//     any other line                body text, 10 points
//
// On every line "|" stands for a tab.
//
// Field references ("$[...]$") and tags ("$D", "$[IMPCONT]") are body text: the views fill them when they open
// the document. Every line ends its paragraph.
#pragma once

#include "platform/textdoc/TextDocument.h"

// Builds the document of a source; answers an empty text, or the line number and the fault when a field
// reference on a line is not closed.
CString CompileReportSource(const CString& strSource, CTextDocument& doc);
