// Test double of the message-box seam: records every message box the code under test shows and answers it
// with the next queued answer (or the default one).
#pragma once

#include "platform/mfc/afxmsgbox.h"

#include <deque>
#include <vector>

class CMessageBoxRecorder
{
public:
    explicit CMessageBoxRecorder(int defaultAnswer = IDOK);
    ~CMessageBoxRecorder();
    CMessageBoxRecorder(const CMessageBoxRecorder&) = delete;
    CMessageBoxRecorder& operator=(const CMessageBoxRecorder&) = delete;

    void QueueAnswer(int answer) { m_answers.push_back(answer); }
    const std::vector<AFX_MSGBOX_REQUEST>& Shown() const { return m_shown; }
    size_t Count() const { return m_shown.size(); }
    const AFX_MSGBOX_REQUEST& Last() const { return m_shown.back(); }
    UINT LastIcon() const { return Last().type & MB_ICONMASK; }
    UINT LastButtons() const { return Last().type & MB_TYPEMASK; }

private:
    static int Handle(const AFX_MSGBOX_REQUEST& request);

    std::vector<AFX_MSGBOX_REQUEST> m_shown;
    std::deque<int> m_answers;
    int m_defaultAnswer;
    AFX_MSGBOX_HANDLER m_previous;
    CMessageBoxRecorder* m_outer;
};

// Installed by the test main for the whole run: a message box that no test expected fails the test.
int FailOnUnexpectedMessageBox(const AFX_MSGBOX_REQUEST& request);
