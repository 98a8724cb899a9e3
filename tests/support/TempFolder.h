// A fresh folder under the system's temporary folder, removed with its content at the end of the test.
#pragma once

#include "platform/mfc/afxstr.h"

class CTempFolder
{
public:
    CTempFolder();
    ~CTempFolder();
    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;

    const CString& Path() const { return m_path; }
    CString File(LPCTSTR name) const { return m_path + L"\\" + name; }
    // Writes raw bytes to a file of the folder and answers its path.
    CString Write(LPCTSTR name, const std::string& bytes) const;

private:
    CString m_path;
};
