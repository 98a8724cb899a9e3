#include "TreeDispatch.h"

#include <cwchar>

namespace {

// "h" lays the report or document across the page.
bool IsLandscape(const CRecAlbero& node) { return node.m_flag.GetText() == L"h"; }

TreeDispatch Target(TreeTarget target, const CString& strFile = CString(), long nNumber = 0)
{
    TreeDispatch dispatch;
    dispatch.target = target;
    dispatch.strFile = strFile;
    dispatch.nNumber = nNumber;
    return dispatch;
}

} // namespace

bool IsAwaitingRulesCode(const CString& strCode)
{
    return (std::wcscmp(strCode, L"2.1") >= 0 && std::wcscmp(strCode, L"2.4") <= 0) || strCode == L"3.1";
}

TreeDispatch DispatchTreeNode(int nTab, const CRecAlbero* pNode, int nItemImage, bool bCentreNode)
{
    if (!pNode || IsFolderImage(nItemImage))
        return Target(TreeTarget::StartPage);
    const CRecAlbero& node = *pNode;
    CString strCode = node.m_codSezione.GetText();
    if ((nTab == TAB_UFFICIALE && strCode != L"1") || IsAwaitingRulesCode(strCode))
        return Target(TreeTarget::AwaitingRules);

    CString strFile = node.m_nomeFile.GetText();
    if (!node.m_nImmagine.IsNull() && node.m_nImmagine.GetValue() != 0) {
        long nImage = node.m_nImmagine.GetValue();
        if (nImage == 1 && !strFile.IsEmpty())
            return Target(TreeTarget::Report, strFile, IsLandscape(node) ? 0 : 1);
        if (nImage == 2 && !strFile.IsEmpty())
            return Target(TreeTarget::Document, strFile, IsLandscape(node) ? 8 : 9);
        return Target(TreeTarget::StartPage);
    }

    // No image of its own: the section code decides.
    if (nTab == TAB_UFFICIALE && strCode == L"1")
        return Target(TreeTarget::FormD07, strFile);
    if (strCode == L"1.3")
        return Target(TreeTarget::ReportCSP, strFile, IsLandscape(node) ? 0 : 1);
    if (strCode == L"5.1" || strCode == L"5.2")
        return Target(TreeTarget::ReportResp, strFile, bCentreNode ? node.m_idNodo.GetValue() : 0);
    if (strCode == L"5.3")
        return Target(TreeTarget::ConfServ, strFile, 9);
    return Target(TreeTarget::StartPage);
}
