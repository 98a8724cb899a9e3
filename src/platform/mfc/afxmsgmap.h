// Message maps: the table of a command target's handlers, searched from the most derived class to the base
// and, within one class, in declaration order (the first matching entry wins, so a single command listed
// before a range overrides the range). Each entry carries a small function that unpacks the message's
// parameters and calls the handler with the framework's usual signature.
#pragma once

#include <windows.h>
#include <commctrl.h>

class CCmdTarget;
class CCmdUI;

// The framework's private window messages.
#define WM_QUERYAFXWNDPROC  0x0360  // answers 1 when the window runs the framework's window procedure
#define WM_SIZEPARENT       0x0361  // lParam: AFX_SIZEPARENTPARAMS*; children take their share of the frame
#define WM_FLOATSTATUS      0x036D  // wParam: FS_ bits; a frame tells its owned floating windows (style 0x100)
#define FS_SHOW         0x01
#define FS_HIDE         0x02
#define FS_ACTIVATE     0x04
#define FS_DEACTIVATE   0x08
#define FS_ENABLE       0x10
#define FS_DISABLE      0x20
#define FS_SYNCACTIVE   0x40   // asks whether the window looks active with its frame
#define WM_IDLEUPDATECMDUI  0x0363  // wParam: disable commands without handler; sent on idle
#define WM_INITIALUPDATE    0x0364  // sent to the views of a new frame
#define WM_HELPHITTEST      0x0366  // lParam: a client point; answers the help context of what lies there (0: none)
#define WM_KICKIDLE         0x036A  // sent by modal loops while their queue is empty
// A notification that a parent hands back to the child control that sent it ("reflection").
#define WM_REFLECT_BASE     0xBC00
// All WM_CTLCOLORxxx messages reach one handler (nCtlColor = message - WM_CTLCOLORMSGBOX).
#define WM_CTLCOLOR         0x0019

// Marks the handlers that message maps call.
#define afx_msg

// Command codes of OnCmdMsg: a plain command, and the request for a command's user-interface state.
#define CN_COMMAND              0
#define CN_UPDATE_COMMAND_UI    ((UINT)(-1))

// What a handler call receives: the message and its parameters, the command id (range handlers get it),
// the extra data of commands (CCmdUI*, AFX_NOTIFY*), and the answer of a window-message handler.
struct AFX_MSGCALL
{
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    UINT nID;
    void* pExtra;
    LRESULT lResult;
};

// Calls the handler of one entry; FALSE when the handler declined (the _EX handlers, ContinueRouting).
typedef BOOL (*AFX_PMSG)(CCmdTarget* pTarget, AFX_MSGCALL& call);

struct AFX_MSGMAP_ENTRY
{
    UINT nMessage;               // window message; WM_COMMAND, WM_NOTIFY or reflected codes for commands
    UINT nCode;                  // control notification code (16 bits), CN_COMMAND or CN_UPDATE_COMMAND_UI
    UINT nID;                    // first and last command or control id
    UINT nLastID;
    const UINT* pnRegistered;    // message registered at run time (ON_REGISTERED_MESSAGE), else null
    AFX_PMSG pfn;                // null ends the map
};

struct AFX_MSGMAP
{
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// The extra data of WM_NOTIFY handlers.
struct AFX_NOTIFY
{
    LRESULT* pResult;
    NMHDR* pNMHDR;
};

// Filled by OnCmdMsg instead of calling the handler, to ask whether a command has one.
struct AFX_CMDHANDLERINFO
{
    CCmdTarget* pTarget;
    const AFX_MSGMAP_ENTRY* pEntry;
};

#define DECLARE_MESSAGE_MAP() \
protected: \
    static const AFX_MSGMAP* GetThisMessageMap(); \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass) \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap() \
    { \
        [[maybe_unused]] typedef theClass ThisClass; \
        typedef baseClass TheBaseClass; \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

// A class template with a message map: BEGIN_TEMPLATE_MESSAGE_MAP(CSite, TBase, CSite<TBase>).
#define BEGIN_TEMPLATE_MESSAGE_MAP(theClass, type_name, baseClass) \
    template <class type_name> \
    const AFX_MSGMAP* theClass<type_name>::GetMessageMap() const { return GetThisMessageMap(); } \
    template <class type_name> \
    const AFX_MSGMAP* theClass<type_name>::GetThisMessageMap() \
    { \
        [[maybe_unused]] typedef theClass<type_name> ThisClass; \
        typedef baseClass TheBaseClass; \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP() \
            {0, 0, 0, 0, nullptr, nullptr}}; \
        static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
        return &messageMap; \
    }

// The calling function of an entry: pThis is the target as the map's own class, call the parameters.
#define AFX_MSG_CALL(...) \
    [](CCmdTarget* pTarget, [[maybe_unused]] AFX_MSGCALL& call) -> BOOL { \
        [[maybe_unused]] ThisClass* pThis = static_cast<ThisClass*>(pTarget); \
        __VA_ARGS__ \
    }

#define AFX_NOTIFY_ARGS static_cast<AFX_NOTIFY*>(call.pExtra)->pNMHDR, static_cast<AFX_NOTIFY*>(call.pExtra)->pResult

// Commands: void OnCommand(); ranges: void OnRange(UINT nID); update: void OnUpdate(CCmdUI* pCmdUI).
#define ON_COMMAND(id, memberFxn) \
    {WM_COMMAND, CN_COMMAND, (id), (id), nullptr, AFX_MSG_CALL((pThis->*(memberFxn))(); return TRUE;)},
#define ON_COMMAND_RANGE(id, idLast, memberFxn) \
    {WM_COMMAND, CN_COMMAND, (id), (idLast), nullptr, AFX_MSG_CALL((pThis->*(memberFxn))(call.nID); return TRUE;)},
// BOOL OnCommandEx(UINT nID): FALSE lets the command go on to the next target of the route.
#define ON_COMMAND_EX(id, memberFxn) \
    {WM_COMMAND, CN_COMMAND, (id), (id), nullptr, AFX_MSG_CALL(return (pThis->*(memberFxn))(call.nID);)},

#define AFX_UPDATE_CALL(memberFxn) \
    AFX_MSG_CALL(CCmdUI* pCmdUI = static_cast<CCmdUI*>(call.pExtra); pCmdUI->m_bContinueRouting = FALSE; \
                 (pThis->*(memberFxn))(pCmdUI); return !pCmdUI->m_bContinueRouting;)
#define ON_UPDATE_COMMAND_UI(id, memberFxn) \
    {WM_COMMAND, CN_UPDATE_COMMAND_UI, (id), (id), nullptr, AFX_UPDATE_CALL(memberFxn)},
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFxn) \
    {WM_COMMAND, CN_UPDATE_COMMAND_UI, (id), (idLast), nullptr, AFX_UPDATE_CALL(memberFxn)},

// Control notifications through WM_COMMAND: void OnNotification(); ranges get the control id.
#define ON_CONTROL(wNotifyCode, id, memberFxn) \
    {WM_COMMAND, (WORD)(wNotifyCode), (id), (id), nullptr, AFX_MSG_CALL((pThis->*(memberFxn))(); return TRUE;)},
#define ON_CONTROL_RANGE(wNotifyCode, id, idLast, memberFxn) \
    {WM_COMMAND, (WORD)(wNotifyCode), (id), (idLast), nullptr, \
     AFX_MSG_CALL((pThis->*(memberFxn))(call.nID); return TRUE;)},
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_SELENDOK(id, memberFxn) ON_CONTROL(CBN_SELENDOK, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)

// WM_NOTIFY: void OnNotify(NMHDR* pNMHDR, LRESULT* pResult); ranges get the control id first;
// the _EX forms answer BOOL, FALSE letting the notification go on.
#define ON_NOTIFY(wNotifyCode, id, memberFxn) \
    {WM_NOTIFY, (WORD)(int)(wNotifyCode), (id), (id), nullptr, \
     AFX_MSG_CALL((pThis->*(memberFxn))(AFX_NOTIFY_ARGS); return TRUE;)},
#define ON_NOTIFY_RANGE(wNotifyCode, id, idLast, memberFxn) \
    {WM_NOTIFY, (WORD)(int)(wNotifyCode), (id), (idLast), nullptr, \
     AFX_MSG_CALL((pThis->*(memberFxn))(call.nID, AFX_NOTIFY_ARGS); return TRUE;)},
#define ON_NOTIFY_EX(wNotifyCode, id, memberFxn) \
    {WM_NOTIFY, (WORD)(int)(wNotifyCode), (id), (id), nullptr, \
     AFX_MSG_CALL(return (pThis->*(memberFxn))(call.nID, AFX_NOTIFY_ARGS);)},
#define ON_NOTIFY_EX_RANGE(wNotifyCode, id, idLast, memberFxn) \
    {WM_NOTIFY, (WORD)(int)(wNotifyCode), (id), (idLast), nullptr, \
     AFX_MSG_CALL(return (pThis->*(memberFxn))(call.nID, AFX_NOTIFY_ARGS);)},

// Notifications handed back to the control that sent them. A reflected handler that answers FALSE
// (the _EX forms) lets the parent handle the notification as well.
#define ON_NOTIFY_REFLECT(wNotifyCode, memberFxn) \
    {WM_REFLECT_BASE + WM_NOTIFY, (WORD)(int)(wNotifyCode), 0, 0, nullptr, \
     AFX_MSG_CALL((pThis->*(memberFxn))(AFX_NOTIFY_ARGS); return TRUE;)},
#define ON_NOTIFY_REFLECT_EX(wNotifyCode, memberFxn) \
    {WM_REFLECT_BASE + WM_NOTIFY, (WORD)(int)(wNotifyCode), 0, 0, nullptr, \
     AFX_MSG_CALL(return (pThis->*(memberFxn))(AFX_NOTIFY_ARGS);)},
#define ON_CONTROL_REFLECT(wNotifyCode, memberFxn) \
    {WM_REFLECT_BASE + WM_COMMAND, (WORD)(wNotifyCode), 0, 0, nullptr, \
     AFX_MSG_CALL((pThis->*(memberFxn))(); return TRUE;)},
#define ON_CONTROL_REFLECT_EX(wNotifyCode, memberFxn) \
    {WM_REFLECT_BASE + WM_COMMAND, (WORD)(wNotifyCode), 0, 0, nullptr, AFX_MSG_CALL(return (pThis->*(memberFxn))();)},

// Any message: LRESULT OnMessage(WPARAM wParam, LPARAM lParam).
#define ON_MESSAGE(message, memberFxn) \
    {(message), 0, 0, 0, nullptr, \
     AFX_MSG_CALL(call.lResult = (pThis->*(memberFxn))(call.wParam, call.lParam); return TRUE;)},
// A message registered with RegisterWindowMessage; nMessageVariable holds its number.
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn) \
    {0xC000, 0, 0, 0, &(nMessageVariable), \
     AFX_MSG_CALL(call.lResult = (pThis->*(memberFxn))(call.wParam, call.lParam); return TRUE;)},
