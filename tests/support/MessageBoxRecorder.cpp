#include "MessageBoxRecorder.h"

#include <gtest/gtest.h>

namespace
{
CMessageBoxRecorder* g_current = nullptr;
}

CMessageBoxRecorder::CMessageBoxRecorder(int defaultAnswer)
    : m_defaultAnswer(defaultAnswer), m_previous(AfxSetMessageBoxHandler(Handle)), m_outer(g_current)
{
    g_current = this;
}

CMessageBoxRecorder::~CMessageBoxRecorder()
{
    g_current = m_outer;
    AfxSetMessageBoxHandler(m_previous);
}

int CMessageBoxRecorder::Handle(const AFX_MSGBOX_REQUEST& request)
{
    CMessageBoxRecorder* self = g_current;
    self->m_shown.push_back(request);
    if (self->m_answers.empty())
        return self->m_defaultAnswer;
    int answer = self->m_answers.front();
    self->m_answers.pop_front();
    return answer;
}

int FailOnUnexpectedMessageBox(const AFX_MSGBOX_REQUEST& request)
{
    ADD_FAILURE() << "unexpected message box: " << request.text.ToMultiByte(CP_UTF8);
    return IDCANCEL;
}
