#pragma once

// Stand-ins for the services the help class works through, for unit tests only.

#include "platform/help_engine/help_engine.h"
#include "platform/program/program_strings.h"
#include "platform/registry/registry.h"
#include "platform/ui/window_services.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

// What one call handed to the engine, with the records it pointed to copied out.
struct RecordedHelpCall {
    WindowHandle caller = 0;
    std::optional<std::string> file; // nothing for a null file
    std::uint32_t command = 0;
    std::uintptr_t data = 0;
    std::optional<std::string> topic; // HH_DISPLAY_TOPIC with a text
    struct Link {
        std::int32_t cbStruct, fReserved, fIndexOnFail;
        std::optional<std::string> keywords, url, msgText, msgTitle, window;
    };
    std::optional<Link> link;
    struct Popup {
        std::int32_t cbStruct;
        std::uint32_t idString;
        std::optional<std::string> text;
        HelpPoint pt;
        ColourRef foreground, background;
        HelpRect margins;
        std::string font;
    };
    std::optional<Popup> popup;
    struct Query {
        std::int32_t cbStruct, fUniCodeStrings, iProximity, fStemmedSearch, fTitleOnly, fExecute;
        std::optional<std::string> query, window;
    };
    std::optional<Query> query;
};

class FakeHelpEngine : public HelpEngine {
public:
    std::optional<WindowHandle> HtmlHelp(WindowHandle caller, const char* file,
                                         std::uint32_t command, std::uintptr_t data) override {
        if (!reachable)
            return std::nullopt;
        RecordedHelpCall call;
        call.caller = caller;
        call.file = text(file);
        call.command = command;
        call.data = data;
        if (command == HelpCommand::HH_DISPLAY_TOPIC && data)
            call.topic = text(reinterpret_cast<const char*>(data));
        if (command == HelpCommand::HH_KEYWORD_LOOKUP || command == HelpCommand::HH_ALINK_LOOKUP) {
            const auto* l = reinterpret_cast<const HH_AKLINK*>(data);
            call.link = RecordedHelpCall::Link{
                l->cbStruct,     l->fReserved,        l->fIndexOnFail,      text(l->pszKeywords),
                text(l->pszUrl), text(l->pszMsgText), text(l->pszMsgTitle), text(l->pszWindow)};
        }
        if (command == HelpCommand::HH_DISPLAY_TEXT_POPUP) {
            const auto* p = reinterpret_cast<const HH_POPUP*>(data);
            call.popup = RecordedHelpCall::Popup{
                p->cbStruct,      p->idString,      text(p->pszText), p->pt,
                p->clrForeground, p->clrBackground, p->rcMargins,     p->pszFont ? p->pszFont : ""};
        }
        if (command == HelpCommand::HH_DISPLAY_SEARCH) {
            const auto* q = reinterpret_cast<const HH_FTS_QUERY*>(data);
            call.query = RecordedHelpCall::Query{
                q->cbStruct,   q->fUniCodeStrings, q->iProximity,           q->fStemmedSearch,
                q->fTitleOnly, q->fExecute,        text(q->pszSearchQuery), text(q->pszWindow)};
        }
        calls.push_back(call);
        return answer;
    }

    std::string unreachableReason() const override {
        return reachable ? std::string() : "the help engine library is missing";
    }
    bool reachable = true;
    WindowHandle answer = 0x2A01;
    std::vector<RecordedHelpCall> calls;

private:
    static std::optional<std::string> text(const char* p) {
        return p ? std::optional<std::string>(p) : std::nullopt;
    }
};

class FakeWindowServices : public WindowServices {
public:
    ScreenPoint cursorPos() const override { return cursor; }
    void deleteMenuCommand(WindowHandle window, std::uint32_t command) override {
        deletedCommands.push_back({window, command});
    }
    void enterContextHelp(WindowHandle window) override { contextHelpWindows.push_back(window); }

    ScreenPoint cursor{321, 123};
    std::vector<std::pair<WindowHandle, std::uint32_t>> deletedCommands;
    std::vector<WindowHandle> contextHelpWindows;
};

class FakeProgramStrings : public ProgramStrings {
public:
    std::optional<std::string> loadString(std::int32_t id) const override {
        const auto it = strings.find(id);
        return it == strings.end() ? std::nullopt : std::optional<std::string>(it->second);
    }
    std::map<std::int32_t, std::string> strings;
};

// A registry that may be read but refuses every opening that asks to write, as a store the
// user may not change would.
class ReadOnlyRegistry : public Registry {
public:
    explicit ReadOnlyRegistry(Registry& inner) : m_inner(inner) {}
    long openKey(RegistryRoot root, const std::string& path, std::uint32_t access,
                 std::unique_ptr<RegistryKey>& key) override {
        if (access & RegistryAccess::Writes)
            return RegistryResult::AccessDenied;
        return m_inner.openKey(root, path, access, key);
    }
    long createKey(RegistryRoot, const std::string&, std::uint32_t,
                   std::unique_ptr<RegistryKey>&) override {
        return RegistryResult::AccessDenied;
    }

private:
    Registry& m_inner;
};
