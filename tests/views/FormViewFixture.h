// Fixture of the form-view tests: a seeded data archive, an application object that hands the views its
// connection and a folder of workbooks, and a test frame holding one view made by its run-time class, as the
// main frame makes it.
#pragma once

#include "engine/EngineTestArchive.h"
#include "views/FormHost.h"
#include "support/MessageBoxRecorder.h"

#include <nlohmann/json.hpp>

#include <string>
#include <utility>
#include <vector>

class CView;

class CFormTestApp : public CWinApp, public CFormHost
{
public:
    CFormTestApp(CADOConnection& data, const CString& strFormDir) : m_data(data), m_strFormDir(strFormDir) {}
    CADOConnection& GetDataConnection() override { return m_data; }
    CString GetFormDir() const override { return m_strFormDir; }

private:
    CADOConnection& m_data;
    CString m_strFormDir;
};

// One sheet pair of a test workbook: the data sheet's cells (address and cell object: {"number": 1},
// {"text": "a"}, {"formula": "=B2"}), the description sheet's texts, and where each sheet's "[EOF]" stands.
struct CFormSheetPair
{
    std::string strName;
    std::string strSettings;   // the description's cell A1
    std::vector<std::pair<std::string, nlohmann::json>> data;
    std::vector<std::pair<std::string, std::string>> descriptions;
    std::string strDataEof;
    std::string strDescEof;
};
std::string MakeWorkbook(const std::vector<CFormSheetPair>& pairs);

class CFormViewFixture : public CEngineTestArchive
{
protected:
    void SetUp() override;
    void TearDown() override;

    // A workbook of the form folder, from its file text.
    void WriteWorkbook(LPCTSTR pszName, const std::string& strText);
    // A frame with a view of the class, after its initial update; null when it could not be made.
    CView* MakeView(CRuntimeClass* pViewClass, int cx = 640, int cy = 400);
    CFrameWnd* GetFrame() const { return m_pFrame; }
    // Processes the messages waiting, through the frame's pre-translation, as the message loop does.
    void Pump();
    // The file's bytes, to compare an archive before and after.
    std::string ReadBytes(const CString& strPath) const;

    // Keys and characters through real keyboard input into the window with the focus.
    bool TakeFocus(HWND hWnd);
    void SendKey(WORD nVirtKey);
    void SendText(LPCTSTR pszText);

    std::unique_ptr<CFormTestApp> m_pApp;
    CString m_strFormDir;
    CFrameWnd* m_pFrame = nullptr;
};
