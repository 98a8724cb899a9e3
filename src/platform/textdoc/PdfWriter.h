// Writes a text document as PDF: pages of the document's page set-up, the text laid out in lines within the
// margins (paragraphs, line breaks, tabs, page breaks) as real, selectable text in the document's fonts, whose
// TrueType data is taken from the system and embedded, so that accented letters come out whatever the reader
// has. The check-box glyphs of symbol fonts are drawn as boxes, which need no font at all.
#pragma once

#include "TextDocument.h"

#include <string>

// The bytes of the PDF file; raises CFileException (generic) when the PDF library fails.
std::string WritePdf(const CTextDocument& doc);
