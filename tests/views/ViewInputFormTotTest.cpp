// The totals form: the described cells and the recomputation are stored together or not at all; the forecast
// forms of 2008/09/10 are totals forms.
#include "FormViewFixture.h"

#include "engine/RecalcSaldi.h"
#include "forms/RecordID.h"
#include "views/FormTable.h"
#include "views/ViewInputFormResp.h"

#include <gtest/gtest.h>

namespace
{
// Title 1 of the accrual revenues of 2003: three categories typed, their total computed by the sheet.
const char kTotalsForm[] = R"json({"vts": 1,
 "sheets": [
  {"name": "Competenza", "cells": [
    {"at": "B5", "formula": "=SUM(B2:B4)"}, {"at": "C7", "text": "[EOF]"}]},
  {"name": "Descr", "cells": [
    {"at": "A1", "text": "1:2,2;T:Entrate"},
    {"at": "B2", "text": "I:+V;R:2101;F:Anno1"}, {"at": "B3", "text": "I:+V;R:2102;F:Anno1"},
    {"at": "B4", "text": "I:+V;R:2103;F:Anno1"}, {"at": "B5", "text": "C:V;R:2104;F:Anno1"},
    {"at": "D7", "text": "[EOF]"}]}
 ]})json";

class ViewInputFormTotTest : public CFormViewFixture
{
protected:
    void SetUp() override
    {
        CFormViewFixture::SetUp();
        WriteWorkbook(L"Entrate1.vts", kTotalsForm);
    }
    CViewInputForm* Open()
    {
        auto pView = static_cast<CViewInputForm*>(MakeView(RUNTIME_CLASS(CViewInputFormTot)));
        CTextID item(L"Entrate1.vts");
        return pView && pView->LoadData(&item) ? pView : nullptr;
    }
    // Every row of the balance tables, to compare states of the archive.
    CString Dump()
    {
        CString text;
        for (LPCTSTR pszTable : {L"Entrate", L"SaldoFin", L"SaldoProg"}) {
            CString sql;
            sql.Format(L"SELECT * FROM %s ORDER BY ID", pszTable);
            _RecordsetPtr rows = m_data.Execute(sql, nullptr, adCmdText);
            for (; !rows->GetEOF(); rows->MoveNext()) {
                text += pszTable;
                FieldsPtr fields = rows->GetFields();
                for (long i = 0; i < fields->GetCount(); i++) {
                    _variant_t value = fields->GetItem(_variant_t(i))->GetValue();
                    text += L";";
                    if (value.vt != VT_NULL)
                        text += CString(static_cast<LPCTSTR>(_bstr_t(value)));
                }
                text += L"\n";
            }
        }
        return text;
    }
};
} // namespace

TEST_F(ViewInputFormTotTest, SavingStoresTheCellsWithEveryFigureDerivedFromThem)
{
    Put(L"Entrate", 2101, {{L"Anno1", 100}});
    CViewInputForm* pView = Open();
    ASSERT_NE(nullptr, pView);
    CF1Book& grid = pView->GetGrid();
    grid.InvokePut279(3, 2, 20.5);
    grid.InvokePut279(4, 2, 0.57);
    pView->SetModified(TRUE);
    CString strBefore = Dump();

    CMessageBoxRecorder boxes;
    ASSERT_TRUE(pView->SaveData());
    EXPECT_EQ(0u, boxes.Count());
    EXPECT_FALSE(pView->IsModified());
    EXPECT_EQ(0.57, Get(L"Entrate", 2103, L"Anno1"));
    EXPECT_EQ(121.07, Get(L"Entrate", 2104, L"Anno1"));
    // The derived rows were computed in the same save: the recomputation run again changes nothing.
    EXPECT_EQ(121.07, Get(L"SaldoFin", 101, L"Anno1"));
    CString strSaved = Dump();
    EXPECT_NE(strBefore, strSaved);
    RecalcSaldi(m_data);
    EXPECT_EQ(strSaved, Dump());
}

TEST_F(ViewInputFormTotTest, AFailedRecomputationStoresNothingAndKeepsTheChanges)
{
    Put(L"Entrate", 2101, {{L"Anno1", 100}});
    // A later step of the recomputation fails: its table is gone.
    Execute(L"DROP TABLE Monitor");
    CViewInputForm* pView = Open();
    ASSERT_NE(nullptr, pView);
    pView->GetGrid().InvokePut279(2, 2, 250);
    pView->SetModified(TRUE);
    std::string before = ReadBytes(m_dataPath);

    CMessageBoxRecorder boxes;
    EXPECT_FALSE(pView->SaveData());
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes.LastIcon());
    EXPECT_NE(-1, CString(boxes.Last().text).Find(L"Monitor"));
    EXPECT_TRUE(pView->IsModified());
    EXPECT_EQ(0, m_data.GetTransactionDepth());
    EXPECT_TRUE(before == ReadBytes(m_dataPath));
    EXPECT_EQ(100.0, Get(L"Entrate", 2101, L"Anno1"));
}

TEST(FormTable, EachFormCommandOpensItsWorkbookInItsView)
{
    struct
    {
        UINT nCommand;
        BOOL bByChapter;
        LPCTSTR pszWorkbook;
        CRuntimeClass* pClass;
    } cases[] = {
        {40002, FALSE, L"Entrate1.vts", RUNTIME_CLASS(CViewInputFormTot)},
        {40007, FALSE, L"SaldoPro.vts", RUNTIME_CLASS(CViewInputFormCSP)},
        {40011, FALSE, L"MonSpNt2.vts", RUNTIME_CLASS(CViewInputFormMon)},
        // The forecast forms recompute what depends on them when they are saved.
        {40041, FALSE, L"EntVeri1.vts", RUNTIME_CLASS(CViewInputFormTot)},
        {40049, FALSE, L"EntVeri2.vts", RUNTIME_CLASS(CViewInputFormTot)},
        {40043, FALSE, L"SpNVeri1.vts", RUNTIME_CLASS(CViewInputFormTot)},
        {40050, FALSE, L"SpNVeri2.vts", RUNTIME_CLASS(CViewInputFormTot)},
        {40045, FALSE, L"VerVerif.vts", RUNTIME_CLASS(CViewInputFormSP)},
        {40016, FALSE, L"EntExtr1.vts", RUNTIME_CLASS(CViewInputFormResp)},
        {40016, TRUE, L"CapExtra.vts", RUNTIME_CLASS(CViewInputFormRespCap)},
        {40017, TRUE, nullptr, nullptr},
        {40018, TRUE, L"VerExtra.vts", RUNTIME_CLASS(CViewInputFormResp)},
        {40012, FALSE, nullptr, nullptr},
        {40999, FALSE, nullptr, nullptr},
    };
    for (const auto& c : cases) {
        const FORM_TABLE_ENTRY* pEntry = FindFormEntry(c.nCommand, c.bByChapter);
        if (!c.pszWorkbook) {
            EXPECT_EQ(nullptr, pEntry) << c.nCommand;
            continue;
        }
        ASSERT_NE(nullptr, pEntry) << c.nCommand;
        EXPECT_STREQ(c.pszWorkbook, pEntry->pszWorkbook);
        EXPECT_EQ(c.pClass, pEntry->pViewClass) << c.nCommand;
    }
}
