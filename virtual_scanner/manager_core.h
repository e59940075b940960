// What both virtual managers share: the application that opened them, the manager's states
// (2 closed, 3 open), the routing of a triplet, DAT_PARENT, DAT_STATUS, and the modal "Select
// Source" dialog that MSG_USERSELECT shows with the knob "manager.dialog" (on the calling thread,
// with the application's window disabled meanwhile, as real managers do; the virtual user presses
// OK at once unless "ui.manual" leaves the buttons to a test). Wrong-state triplets get
// TWRC_FAILURE and TWCC_SEQERROR. They differ in their sources: the in-process manager holds
// them, the Windows one loads them from their files.
#ifndef VIRTUAL_SCANNER_MANAGER_CORE_H
#define VIRTUAL_SCANNER_MANAGER_CORE_H

#include <cstdint>

#include "script.h"
#include "twain/twain.h"

namespace vscan {

class ManagerCore {
  public:
    explicit ManagerCore(const Script& script) : script_(script) {}
    virtual ~ManagerCore() = default;
    ManagerCore(const ManagerCore&) = delete;
    ManagerCore& operator=(const ManagerCore&) = delete;

    TW_UINT16 entry(pTW_IDENTITY origin, pTW_IDENTITY destination, TW_UINT32 dg, TW_UINT16 dat,
                    TW_UINT16 msg, TW_MEMREF data);

    int32_t state() const { return open_ ? 3 : 2; }
    // The thread that opened the manager, which a strict one expects every triplet from.
    DWORD openingThread() const { return open_ ? openingThread_ : 0; }
    HWND selectDialog() const { return selectDialog_; }

  protected:
    TW_UINT16 fail(TW_UINT16 code) {
        conditionCode_ = code;
        return TWRC_FAILURE;
    }
    bool isApplication(pTW_IDENTITY origin) const { return open_ && origin->Id == appId_; }
    // The user's choice in the selection dialog: TWRC_SUCCESS for OK, TWRC_CANCEL otherwise.
    TW_UINT16 askUser();
    // Back to a manager that no application has opened; the sources are the caller's.
    void forgetApplication();

    virtual bool addressesOpenSource(pTW_IDENTITY destination) const = 0;
    virtual TW_UINT16 toSource(pTW_IDENTITY origin, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg,
                               TW_MEMREF data) = 0;
    virtual TW_UINT16 identity(pTW_IDENTITY origin, TW_UINT16 msg, TW_IDENTITY* identity) = 0;
    // MSG_OPENDSM, once the application has its Id.
    virtual void opened() {}
    // MSG_CLOSEDSM: a real manager closes what the application left open.
    virtual void closing() = 0;

    const Script& script_;
    bool open_ = false;
    TW_UINT32 appId_ = 0;
    HWND appWindow_ = {};
    DWORD openingThread_ = 0;
    HWND selectDialog_ = {};
    TW_UINT32 nextId_ = 1;
    // Before MSG_OPENDSM a manager knows of no failure of the application's, yet reports one.
    TW_UINT16 conditionCode_ = TWCC_BUMMER;

  private:
    TW_UINT16 parent(pTW_IDENTITY origin, TW_UINT16 msg, TW_MEMREF data);
    TW_UINT16 status(TW_UINT16 msg, TW_STATUS* status);
};

}  // namespace vscan

#endif
