#include "DlgAbout.h"

#include "resource.h"
#include "util/DialogUtil.h"
#include "util/MakerInfo.h"
#include "util/MessageText.h"
#include "util/VersionInfo.h"

IMPLEMENT_DYNAMIC(CDlgAbout, CDialog)

CDlgAbout::CDlgAbout(CWnd* pParentWnd, LPCTSTR pszProductCode)
    : CDialog(IDD_ABOUTBOX, pParentWnd), m_strProductCode(pszProductCode)
{
}

BOOL CDlgAbout::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_wndLink.SubclassDlgItem(IDC_ABOUT_LINK, this);
    m_wndLink.SetTarget(MakerInfo::kWebSite);
    m_wndLink.SetTipText(LoadResString(IDS_ABOUT_LINK_TIP));

    m_fontBold.CreateFont(16, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Verdana");
    GetDlgItem(IDC_ABOUT_TITLE)->SetFont(&m_fontBold);
    GetDlgItem(IDC_ABOUT_NEWS_TITLE)->SetFont(&m_fontBold);

    const DWORD dwVersion = GetFileVersionNumber();
    SetDlgItemText(IDC_ABOUT_VERSION, FormatString(LoadResString(IDS_ABOUT_VERSION), static_cast<int>(dwVersion >> 24),
                                                   static_cast<int>((dwVersion >> 16) & 0xFF)));
    SetDlgItemText(IDC_ABOUT_PRODUCT_CODE,
                   FormatString(LoadResString(IDS_ABOUT_PRODUCT_CODE), m_strProductCode.Left(5).GetString(),
                                m_strProductCode.Mid(5).GetString()));
    SetDlgItemText(IDC_ABOUT_NEWS, LoadResText(IDR_RELEASE_NOTES, L"TXT"));
    return TRUE;
}
