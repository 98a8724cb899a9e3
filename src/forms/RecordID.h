// Item data: what a view shows or what a tree node or list item stands for (a workbook name, a template
// name with a number, a code with a flag, a number). A view compares the item it is asked to show with
// the one it shows to skip a reload. Every object belongs to whoever created or cloned it.
#pragma once

#include "platform/mfc/afxstr.h"

class CRecordID
{
public:
    virtual ~CRecordID() = default;
    // A new heap object of the same class with the same values; the caller owns it.
    virtual CRecordID* Clone() const = 0;
    // FALSE when pOther is not of this item's class or of a class derived from it; otherwise the values
    // decide (texts ignoring case). The comparison is not symmetric across classes.
    virtual BOOL IsEqual(const CRecordID* pOther) const = 0;

protected:
    CRecordID() = default;
    CRecordID(const CRecordID&) = default;
    CRecordID& operator=(const CRecordID&) = default;
};

class CTextID : public CRecordID
{
public:
    explicit CTextID(LPCTSTR lpszText) : m_strText(lpszText) {}
    CRecordID* Clone() const override { return new CTextID(*this); }
    BOOL IsEqual(const CRecordID* pOther) const override;

    const CString& GetText() const { return m_strText; }

private:
    CString m_strText;
};

class CTextLongID : public CTextID
{
public:
    CTextLongID(LPCTSTR lpszText, long lNumber) : CTextID(lpszText), m_lNumber(lNumber) {}
    CRecordID* Clone() const override { return new CTextLongID(*this); }
    BOOL IsEqual(const CRecordID* pOther) const override;

    long GetLong() const { return m_lNumber; }

private:
    long m_lNumber;
};

class CText2LongID : public CTextLongID
{
public:
    CText2LongID(LPCTSTR lpszText, long lNumber, long lNumber2) : CTextLongID(lpszText, lNumber), m_lNumber2(lNumber2) {}
    CRecordID* Clone() const override { return new CText2LongID(*this); }
    BOOL IsEqual(const CRecordID* pOther) const override;

    long GetLong2() const { return m_lNumber2; }

private:
    long m_lNumber2;
};

class CTextBoolID : public CTextID
{
public:
    CTextBoolID(LPCTSTR lpszText, BOOL bFlag) : CTextID(lpszText), m_bFlag(bFlag) {}
    CRecordID* Clone() const override { return new CTextBoolID(*this); }
    BOOL IsEqual(const CRecordID* pOther) const override;

    BOOL GetBool() const { return m_bFlag; }

private:
    BOOL m_bFlag;
};

class CLongID : public CRecordID
{
public:
    explicit CLongID(long lNumber) : m_lNumber(lNumber) {}
    CRecordID* Clone() const override { return new CLongID(*this); }
    BOOL IsEqual(const CRecordID* pOther) const override;

    long GetLong() const { return m_lNumber; }

private:
    long m_lNumber;
};
