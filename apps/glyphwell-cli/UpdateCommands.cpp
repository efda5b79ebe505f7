// The catalogue update as the program does it, on the calling thread, asking on the terminal.

#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "Command.h"
#include "app/CatalogueServerBase.h"
#include "catalogue/CatalogueDatabase.h"
#include "platform/ServiceAddresses.h"
#include "update/CatalogueUpdate.h"

namespace glyphwell::cli {
namespace {

using app::ProgramState;

constexpr const char* kUpdateUsage =
    "update [--check] [--yes]\n"
    "                           check the server's catalogue version and, unless --check, install\n"
    "                           a different one (asking first unless --yes); prints the version\n"
    "                           line";

// The window's part on the terminal: the last message and the answer to the prompt.
enum class Answer { kAsk, kYes, kNo };

class TerminalUpdateView : public update::CatalogueUpdateView {
  public:
    explicit TerminalUpdateView(Answer answer) : answer_(answer) {}

    void RepaintVersionLine() override {}
    void EnableUpdateMenuItem(bool) override {}
    // The command runs the offer itself once the check is over.
    void RaiseUpdateOffer() override {}
    void TellUpdateMessage(std::string_view message) override { message_ = message; }
    bool AskToUpdate() override {
        if (answer_ != Answer::kAsk) {
            return answer_ == Answer::kYes;
        }
        std::fprintf(stderr, "%s [y/N] ", std::string(update::kUpdatePrompt).c_str());
        std::string answer;
        std::getline(std::cin, answer);
        return answer == "y" || answer == "Y" || answer == "yes";
    }

    const std::string& Message() const { return message_; }

  private:
    Answer answer_;
    std::string message_;
};

int Update(ProgramState& state, const Arguments& arguments) {
    bool checkOnly = false;
    bool yes = false;
    for (const std::string& argument : arguments) {
        if (argument == "--check") {
            checkOnly = true;
        } else if (argument == "--yes") {
            yes = true;
        } else {
            return PrintUsage(kUpdateUsage);
        }
    }
    app::BuildStartupVersionLine(state);

    catalogue::CatalogueDatabase database(state.runDirectory / update::kCatalogueFileName);
    // --check answers the prompt with no: the line then shows both versions.
    TerminalUpdateView view(checkOnly ? Answer::kNo : yes ? Answer::kYes : Answer::kAsk);
    update::CatalogueUpdate catalogueUpdate(
        state.http, state.settings, state.versionLine, database,
        // Asked by the check and again by the update: fetched once.
        [&state, base = std::optional<std::string>()]() mutable {
            if (!base) {
                base = app::FetchCatalogueServerBase(state.http, state.addresses.site);
            }
            return *base;
        },
        platform::SiteHostName(state.addresses.site), {state.runDirectory}, view);

    if (!catalogueUpdate.CheckCatalogueVersion()) {
        std::fprintf(checkOnly ? stdout : stderr, "%s\n", state.versionLine.Text().c_str());
        return 1;
    }
    catalogueUpdate.OfferCatalogueUpdate();
    catalogueUpdate.WaitForWorkers();
    if (!view.Message().empty() && view.Message() != update::kUpdateInstalledMessage) {
        std::fprintf(stderr, "%s\n", view.Message().c_str());
        return 1;
    }
    std::printf("%s\n", state.versionLine.Text().c_str());
    return 0;
}

}  // namespace

std::vector<Command> UpdateCommands() {
    return {{"update", kUpdateUsage, Update}};
}

}  // namespace glyphwell::cli
