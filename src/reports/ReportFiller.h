// Filling of the field references of reports and documents: the text between "$[" and "]$" is a cell description
// (the grammar of the form workbooks) naming a table, a row and a field of the data archive, and is replaced by
// that value. The filler works on the control's document model, so the views only load, fill and show.
#pragma once

#include "data/ADOConnection.h"
#include "data/SetDati.h"
#include "forms/FormInfo.h"
#include "platform/textdoc/TextDocument.h"

#include <memory>

class CReportFiller
{
public:
    // Reports (printed) sign positive figures of '+' references and cut whole numbers toward zero; documents
    // (editable) write the plain values.
    enum ValueStyle { documentValues, reportValues };

    CReportFiller(CADOConnection& data, ValueStyle nStyle) : m_data(data), m_nStyle(nStyle) {}
    virtual ~CReportFiller() = default;

    // Replaces every span from "$[" to "]$", delimiters included, with its value, in document order. A reference
    // whose table, row or field is missing gives empty text and the rest still fills; a "$[" without its "]$"
    // and the text after it stay as they are.
    void FillSpans(CTextDocument& doc);

protected:
    // Positions the record set on the row of a key; the default looks the key up in the "ID" column.
    virtual bool FindRow(CSetDati& set, const CString& strKey);
    // The text that replaces one reference; the default is the looked-up value.
    virtual CString ValueOf(const CCellInfo& cell);

    // Switches the record set to the reference's table, finds its row and formats the field by the reference's
    // type; empty when the row is missing, but for an amount in a table row, which is then 0, and empty when the
    // archive lacks the table or field. bFound tells whether the value was found.
    CString LookUp(const CCellInfo& cell, bool& bFound);
    // A table other than the record set's (compared with case) replaces the record set; an empty name keeps it.
    void SwitchTable(const CString& strTable);
    // The record set of the current table; null before a reference names one.
    CSetDati* GetRecordset() { return m_set.get(); }
    CADOConnection& GetData() { return m_data; }

private:
    // bBound: the archive has the reference's table (and its field, when the row is there).
    CString LookUpField(const CCellInfo& cell, bool& bFound, bool& bBound);
    CString FormatField(const CCellInfo& cell, CSetDati& set) const;

    CADOConnection& m_data;
    ValueStyle m_nStyle;
    std::unique_ptr<CSetDati> m_set;
    bool m_bInTable = false;   // the reference being filled lies in a table row
};

// The accounting-mode heading of the reports: every kAccountingHeadingTag becomes the mode's name in upper case.
// The tag is no field reference: it has no closing delimiter.
extern const TCHAR kAccountingHeadingTag[];
void FillAccountingHeading(CTextDocument& doc, CADOConnection& data);

// Turns every span from "$[" to "]$" into a field of the document holding the inner text, without the
// delimiters; with bKeepReference the reference text is also kept as the field's data. Answers the ids made.
std::vector<long> MakeReferenceFields(CTextDocument& doc, bool bKeepReference);

// Replaces every occurrence of a tag, searching from the start; a value that holds the tag is not searched again.
void ReplaceEveryTag(CTextDocument& doc, LPCTSTR pszTag, LPCTSTR pszValue);

// The characters that show a ticked and an empty box in a symbol font.
const wchar_t kBoxTicked = 0xFE;
const wchar_t kBoxEmpty = 0xA8;
