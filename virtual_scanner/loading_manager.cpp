#include "loading_manager.h"

#include <cstring>
#include <utility>

#include "scanner.h"
#include "source_folder.h"

namespace vscan {
namespace {

// A real manager's default source is the one its user chose last; this one's user chose the
// virtual source, when it is installed.
constexpr char kDefaultSource[] = "Virtual Scanner";

bool named(const TW_IDENTITY& identity, const char* name) {
    return std::strncmp(identity.ProductName, name, sizeof(identity.ProductName)) == 0;
}

}  // namespace

LoadingManager& loadingManager() {
    // Never destroyed, as the scanner whose knobs it reads.
    static LoadingManager* const instance = new LoadingManager(scanner().script);
    return *instance;
}

void LoadingManager::recordConditionCode(pTW_IDENTITY destination, TW_UINT16 code) {
    if (destination != nullptr && addressesOpenSource(destination)) {
        source_->scriptedCondition = code;
    } else {
        conditionCode_ = code;
    }
}

bool LoadingManager::refusesThread(pTW_IDENTITY destination, TW_UINT32 dg, TW_UINT16 dat) const {
    if (script_.knob("threads.strict").value_or(0) == 0 ||
        (dg == DG_CONTROL && dat == DAT_STATUS)) {
        return false;
    }
    DWORD expected = 0;
    if (destination == nullptr) {
        expected = openingThread();
    } else if (addressesOpenSource(destination)) {
        expected = source_->openingThread;
    }
    return expected != 0 && expected != GetCurrentThreadId();
}

void LoadingManager::powerCycle() {
    closing();
    forgetApplication();
}

bool LoadingManager::addressesOpenSource(pTW_IDENTITY destination) const {
    return source_ && destination->Id == source_->id;
}

void LoadingManager::closing() {
    if (source_) {
        closeSource();
    }
    listed_.clear();
}

TW_UINT16 LoadingManager::identity(pTW_IDENTITY origin, TW_UINT16 msg, TW_IDENTITY* identity) {
    if (!isApplication(origin)) {
        return fail(TWCC_SEQERROR);
    }
    if (identity == nullptr) {
        return fail(TWCC_BADVALUE);
    }
    switch (msg) {
        case MSG_USERSELECT:
        case MSG_GETDEFAULT: {
            if (msg == MSG_USERSELECT) {
                if (const TW_UINT16 choice = askUser(); choice != TWRC_SUCCESS) {
                    return choice;
                }
            }
            // The user picks the default source.
            const std::vector<Listed> all = list(origin);
            const Listed* chosen = pick(all, "");
            if (chosen == nullptr) {
                return fail(TWCC_NODS);
            }
            *identity = chosen->identity;
            identity->Id = listedId(*chosen);
            return TWRC_SUCCESS;
        }
        case MSG_GETFIRST:
            listed_ = list(origin);
            nextListed_ = 0;
            [[fallthrough]];
        case MSG_GETNEXT: {
            if (nextListed_ >= listed_.size()) {
                return TWRC_ENDOFLIST;
            }
            const Listed& listed = listed_[nextListed_++];
            *identity = listed.identity;
            identity->Id = listedId(listed);
            return TWRC_SUCCESS;
        }
        case MSG_OPENDS:
            return openSource(origin, identity);
        case MSG_CLOSEDS:
            if (!addressesOpenSource(identity)) {
                return fail(TWCC_NODS);
            }
            return closeSource();
        default:
            return fail(TWCC_BADPROTOCOL);
    }
}

// Each file is loaded for its identity and unloaded again, as the released manager lists its
// sources: a source that is not open holds nothing in the process, no thread and no window. A file
// unchanged since it was asked is not asked again: loading some sources (Wine's gphoto2.ds) costs
// time, and leaves traces in Wine's server, every time.
std::vector<LoadingManager::Listed> LoadingManager::list(pTW_IDENTITY origin) {
    const TW_IDENTITY application = *origin;
    std::map<std::string, Known> known = known_;
    std::vector<Listed> found;
    {
        Unlocked unlocked;
        for (const std::string& path : sourceFiles()) {
            const uint64_t written = lastWritten(path);
            auto it = known.find(path);
            if (it == known.end() || it->second.written != written) {
                TW_IDENTITY asking = application;
                const auto identity = askIdentity(path, &asking);
                it = known.insert_or_assign(path, Known{written, identity}).first;
            }
            if (it->second.identity) {
                found.push_back(Listed{path, *it->second.identity});
            }
        }
    }
    known_ = std::move(known);
    return found;
}

// The source of that name; with no name, the default source, else the first there is.
const LoadingManager::Listed* LoadingManager::pick(const std::vector<Listed>& all,
                                                   const char* name) {
    const bool byName = name[0] != '\0';
    for (const Listed& listed : all) {
        if (named(listed.identity, byName ? name : kDefaultSource)) {
            return &listed;
        }
    }
    return byName || all.empty() ? nullptr : &all.front();
}

// The open source's Id, else the one the source would get when opened next.
TW_UINT32 LoadingManager::listedId(const Listed& listed) const {
    return source_ && source_->library->path() == listed.path ? source_->id : nextId_;
}

TW_UINT16 LoadingManager::openSource(pTW_IDENTITY origin, TW_IDENTITY* identity) {
    if (source_) {
        return fail(TWCC_MAXCONNECTIONS);
    }
    if (identity->Id != 0 && identity->Id != nextId_) {
        return fail(TWCC_NODS);
    }
    const std::vector<Listed> all = list(origin);
    const Listed* chosen = pick(all, identity->ProductName);
    if (chosen == nullptr || !open_ || source_) {
        return fail(TWCC_NODS);
    }
    const TW_UINT32 id = nextId_++;
    TW_IDENTITY opened = *identity;
    opened.Id = id;
    TW_IDENTITY application = *origin;
    std::shared_ptr<SourceLibrary> library;
    TW_UINT16 result = TWRC_FAILURE;
    {
        Unlocked unlocked;
        library = SourceLibrary::load(chosen->path);
        if (library) {
            result = library->entry(&application, DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &opened);
        }
        if (result != TWRC_SUCCESS) {
            library.reset();
        }
    }
    if (!library) {
        return fail(TWCC_MAXCONNECTIONS);
    }
    source_ = OpenSource{std::move(library), id, GetCurrentThreadId(), opened, application, {}};
    *identity = opened;
    conditionCode_ = TWCC_SUCCESS;
    return TWRC_SUCCESS;
}

// The source is told to close, then unloaded whatever it answered, as the released manager does:
// the application is done with it. Its module goes at once unless a call into it from another
// thread is still under way, which lets it go when it returns.
TW_UINT16 LoadingManager::closeSource() {
    OpenSource closing = std::move(*source_);
    source_.reset();
    Unlocked unlocked;
    const TW_UINT16 result = closing.library->entry(&closing.application, DG_CONTROL, DAT_IDENTITY,
                                                    MSG_CLOSEDS, &closing.identity);
    closing.library.reset();
    return result;
}

TW_UINT16 LoadingManager::toSource(pTW_IDENTITY origin, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg,
                                   TW_MEMREF data) {
    if (dg == DG_CONTROL && dat == DAT_STATUS && msg == MSG_GET && data != nullptr &&
        source_->scriptedCondition) {
        auto* reported = static_cast<TW_STATUS*>(data);
        reported->ConditionCode = *std::exchange(source_->scriptedCondition, std::nullopt);
        reported->Reserved = 0;
        return TWRC_SUCCESS;
    }
    std::shared_ptr<SourceLibrary> library = source_->library;
    const TW_UINT32 id = source_->id;
    TW_UINT16 result = TWRC_FAILURE;
    {
        Unlocked unlocked;
        result = library->entry(origin, dg, dat, msg, data);
        library.reset();
    }
    // The source's own failure replaces what a script left for its next DAT_STATUS.
    if (result == TWRC_FAILURE && source_ && source_->id == id) {
        source_->scriptedCondition.reset();
    }
    return result;
}

}  // namespace vscan
