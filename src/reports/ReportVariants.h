// The fillers of the report variants: the programmed-target report, whose explanatory texts depend on the case
// the authority falls in; the report of one responsible centre; and the editable list of the centres, whose
// references stay in its fields so that a saved copy is filled again at each opening.
#pragma once

#include "ReportFiller.h"

// The case of the authority (0 to 4) from the average cash balance d, the average mixed balance d2 and X (s3
// less 15 % of s4).
int CspCase(double d, double d2, double x);
// The case from "media123" of SaldoProg (rows 1100, 2100, 1107; a missing row counts 0).
int ReadCspCase(CADOConnection& data);
// Whether the field of this name shows nothing in the case (names compared ignoring case).
bool IsHiddenInCspCase(int nCase, const CString& strName);

class CCspReportFiller : public CReportFiller
{
public:
    CCspReportFiller(CADOConnection& data, int nCase) : CReportFiller(data, documentValues), m_nCase(nCase) {}

protected:
    CString ValueOf(const CCellInfo& cell) override;

private:
    double ReadNumber(const CCellInfo& cell);

    int m_nCase;
    // The figures the ME lines compare, remembered from the fields before them.
    double m_p = 0;
    double m_m[3] = {};
};

class CRespReportFiller : public CReportFiller
{
public:
    // A null centre (the view's id before any item) looks rows up with 0.
    CRespReportFiller(CADOConnection& data, long nIdResp) : CReportFiller(data, reportValues), m_nIdResp(nIdResp) {}

protected:
    bool FindRow(CSetDati& set, const CString& strKey) override;

private:
    long m_nIdResp;
};

// Turns the references into fields that keep them as data, then fills every field: a reference to
// "Responsabili" lists the centres ("responsabile<TAB>centro", one a line); an empty value shows the reference's D.
void FillConfServFields(CTextDocument& doc, CADOConnection& data);
