// The customise sheet: while it runs, the command-bars manager is in customise mode, controls are dragged
// between bars and out of the Commands page, and a right click on a control opens the context menu whose
// commands change that control. Its own modal loop keeps the frame's bars working and hooks the mouse and the
// keyboard so that the rest of the frame does not react. Only one sheet runs at a time.
#pragma once

#include "platform/mfc/afxpropsheet.h"
#include "ui/commandbars/XTPCustomizeCommands.h"

class CXTPCommandBars;
class CXTPControl;
class CXTPCustomizeToolbarsPage;
class CXTPCustomizeCommandsPage;
class CXTPImageManager;
class CXTPPopupBar;

class CXTPCustomizeSheet : public CPropertySheet
{
    DECLARE_DYNAMIC(CXTPCustomizeSheet)
public:
    explicit CXTPCustomizeSheet(CXTPCommandBars* pCommandBars);
    ~CXTPCustomizeSheet() override;

    // IDCANCEL at once while another sheet runs.
    INT_PTR DoModal() override;
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    // The context menu of the drag control at a screen point.
    void ContextMenu(CPoint ptScreen);

    CXTPCommandBars* GetCommandBars() const { return m_pCommandBars; }
    CXTPCustomizeToolbarsPage* GetToolbarsPage() const { return m_pToolbarsPage; }
    CXTPCustomizeCommandsPage* GetCommandsPage() const { return m_pCommandsPage; }
    CXTPPopupBar* GetContextMenu() const { return m_pContextMenu; }
    // The icons offered by "Cambia icona pulsante".
    CXTPImageManager* GetImageManager() const { return m_pImageManager; }

    // The input the sheet lets through while it runs: a mouse message for a window, a key press by the focus.
    BOOL IsMouseMessageAllowed(UINT nMessage, HWND hWnd, CPoint ptScreen);
    BOOL IsKeyboardAllowed() const;
    // The running sheet, or null.
    static CXTPCustomizeSheet* GetRunning();

    // The icon commands on the drag control.
    void CopyIcon();
    void PasteIcon();
    void EditIcon();
    // The drag control takes a copy of the icon that a button of the icon popup shows.
    void ChangeIcon(const CXTPControl* pChosen);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void BuildContextMenu();
    void FillIconPopup(CXTPPopupBar* pPopup);
    // The name box of the context menu shows the drag control's caption.
    void ShowDragControlName();
    // The drag control's bar lays out and redraws.
    void RecalcDragControlBar();
    BOOL OnControlNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    BOOL SelectPageByMnemonic(UINT nVirtualKey);

    static LRESULT CALLBACK MouseProc(int nCode, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK KeyboardProc(int nCode, WPARAM wParam, LPARAM lParam);

    CXTPCustomizeToolbarsPage* m_pToolbarsPage;
    CXTPCustomizeCommandsPage* m_pCommandsPage;
    CWnd* m_pSite;
    CXTPCommandBars* m_pCommandBars;
    CXTPPopupBar* m_pContextMenu = nullptr;
    CXTPImageManager* m_pImageManager;
    CXTPCustomizeControlCommands m_commands;
};
