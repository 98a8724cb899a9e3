#include "FormViewFixture.h"

#include "platform/mfc/afxdoctempl.h"
#include "platform/mfc/afxframe.h"
#include "platform/mfc/afxview.h"
#include "support/RealInput.h"

#include <fstream>
#include <iterator>
#include <vector>

std::string MakeWorkbook(const std::vector<CFormSheetPair>& pairs)
{
    nlohmann::json sheets = nlohmann::json::array();
    int nPair = 0;
    for (const CFormSheetPair& pair : pairs) {
        nlohmann::json data = nlohmann::json::array(), desc = nlohmann::json::array();
        for (const auto& cell : pair.data) {
            nlohmann::json object = cell.second;
            object["at"] = cell.first;
            data.push_back(object);
        }
        data.push_back({{"at", pair.strDataEof}, {"text", "[EOF]"}});
        desc.push_back({{"at", "A1"}, {"text", pair.strSettings}});
        for (const auto& cell : pair.descriptions)
            desc.push_back({{"at", cell.first}, {"text", cell.second}});
        desc.push_back({{"at", pair.strDescEof}, {"text", "[EOF]"}});
        sheets.push_back({{"name", pair.strName}, {"cells", data}});
        sheets.push_back({{"name", "Descr" + std::to_string(++nPair)}, {"cells", desc}});
    }
    return nlohmann::json({{"vts", 1}, {"sheets", sheets}}).dump();
}

void CFormViewFixture::SetUp()
{
    CEngineTestArchive::SetUp();
    m_strFormDir = m_folder.File(L"Form");
    ASSERT_TRUE(::CreateDirectoryW(m_strFormDir, nullptr));
    m_pApp = std::make_unique<CFormTestApp>(m_data, m_strFormDir);
}

void CFormViewFixture::TearDown()
{
    if (m_pFrame && ::IsWindow(m_pFrame->GetSafeHwnd()))
        m_pFrame->DestroyWindow();
    m_pFrame = nullptr;
    m_pApp.reset();
    CEngineTestArchive::TearDown();
}

void CFormViewFixture::WriteWorkbook(LPCTSTR pszName, const std::string& strText)
{
    std::ofstream file(CString(m_strFormDir + L"\\" + pszName).ToMultiByte(CP_UTF8), std::ios::binary);
    file << strText;
}

CView* CFormViewFixture::MakeView(CRuntimeClass* pViewClass, int cx, int cy)
{
    m_pFrame = new CFrameWnd;
    // Topmost and away from where the other test programs put their windows, so that keyboard input reaches it.
    if (!m_pFrame->CreateEx(WS_EX_TOPMOST, nullptr, L"Modulo", WS_POPUP | WS_CAPTION | WS_VISIBLE, 40, 460, cx, cy,
                            nullptr, nullptr)) {
        m_pFrame = nullptr;
        return nullptr;
    }
    CCreateContext context;
    context.m_pNewViewClass = pViewClass;
    context.m_pCurrentFrame = m_pFrame;
    if (!m_pFrame->CreateView(&context))
        return nullptr;
    m_pFrame->InitialUpdateFrame(nullptr, TRUE);
    m_pFrame->RecalcLayout();
    Pump();
    return static_cast<CView*>(m_pFrame->GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE));
}

void CFormViewFixture::Pump()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (m_pFrame && CWnd::WalkPreTranslateTree(m_pFrame->GetSafeHwnd(), &msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

std::string CFormViewFixture::ReadBytes(const CString& strPath) const
{
    std::ifstream file(strPath.ToMultiByte(CP_UTF8), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool CFormViewFixture::TakeFocus(HWND hWnd)
{
    return PumpUntil(m_pFrame->GetSafeHwnd(), [&] {
        if (::GetFocus() == hWnd)
            return TRUE;
        ::SetForegroundWindow(m_pFrame->GetSafeHwnd());
        ::SetFocus(hWnd);
        return FALSE;
    });
}

void CFormViewFixture::SendKey(WORD nVirtKey)
{
    EXPECT_TRUE(SendInputAndWait(m_pFrame->GetSafeHwnd(), {KeyInput(nVirtKey, FALSE), KeyInput(nVirtKey, TRUE)}));
}

void CFormViewFixture::SendText(LPCTSTR pszText)
{
    for (; *pszText; ++pszText) {
        INPUT inputs[2] = {};
        inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
        inputs[0].ki.wScan = inputs[1].ki.wScan = *pszText;
        inputs[0].ki.dwFlags = KEYEVENTF_UNICODE;
        inputs[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
        EXPECT_TRUE(SendInputAndWait(m_pFrame->GetSafeHwnd(), {inputs[0], inputs[1]}));
    }
}
