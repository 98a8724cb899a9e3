// The tables of the control forms laid across their page, so that an authority's figures read whole: a column of
// figures (aligned right) holds the widest amount, the widest column of text takes the rest of the printable width.
#pragma once

#include "platform/textdoc/TextDocument.h"

// Fits every table of the document to the document's page, its rows alike. A column of figures holds
// "-999.999.999,99" whole, or the widest figure of the table when wider; the table's widest column of text takes the
// rest, so the table spans the printable width; the space its texts do not need widens the figures' columns up to
// the widest amount a currency holds, "-922.337.203.685.477,58". Where the page cannot hold every row on one line,
// the table's text gets smaller, down to 7 points; below that the texts wrap beside whole figures (the text column
// keeps 40 mm, down to 6 points). The other columns keep their widths. With nHalfPoints the tables start from that
// size of text, larger or smaller than they have: a table made smaller for a narrower page gets its size back.
void FitTablesToPage(CTextDocument& doc, int nHalfPoints = 0);

// The size the control forms' templates write their tables in.
const int kReportTableHalfPoints = 18;
