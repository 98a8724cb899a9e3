// The report and document templates are kept as plain text under content/reports and compiled into ".txd"
// documents by the build. A source is read line by line:
//
//     // a comment                  skipped
//     = Title                       a title line, bold, 14 points
//     == Heading                    a heading line, bold, 11 points
//     ---                           a page break
//     _ Vorsa - pagina [pagina]     the footer of every page: "[pagina]" is the page's number, "[data]" the
//                                   date of printing
//     any other line                body text, 10 points
//
// On every line "|" stands for a tab, but for the lines of a table, which begin with "|":
//
//     |= 20 | 88 | >24 | >24 | >24          a table: its columns' widths in millimetres; ">" right-aligns a
//                                           column (figures), "^" centres it
//     |# Codice | Descrizione | 2003 | ...   a heading row: bold, repeated on every page the table goes on to
//     | 101 | Titolo I | $[...]$ | ...       a row (9 points): one text per column, "|" between them
//     |* 100 | ENTRATE FINALI NETTE | ...    a total row: bold on a shaded band
//
// Every row is ruled. The rows belong to the last "|=" line; the table ends at the first line that is no row.
// An amount reference (type V) in a table shows "0,00" when the archive holds no figure for it; a cell that
// does not apply holds "-".
//
// Field references ("$[...]$") and tags ("$D", "$[IMPCONT]") are body text: the views fill them when they open
// the document. Every line ends its paragraph.
#pragma once

#include "platform/textdoc/TextDocument.h"

// Builds the document of a source; answers an empty text, or the line number and the fault when a field
// reference on a line is not closed or a table row does not fit its table.
CString CompileReportSource(const CString& strSource, CTextDocument& doc);
