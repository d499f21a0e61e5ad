#include "cache/url_cache_cleaner.h"
#include "cli/cli_texts.h"
#include "cli/commands.h"
#include "cli/replies.h"
#include "store/text_format.h"
#include "texts/messages.h"

namespace {

// Asks until the answer is y or n; the end of the input is no.
bool Confirmed(Console& console) {
    std::string line;
    do {
        console.Err(Concat({kMsgConfirmDelete, kTextAnswer}));
        if (!console.ReadLine(&line)) {
            console.Err("\n");
            return false;
        }
    } while (line != "y" && line != "Y" && line != "n" && line != "N");
    return line == "y" || line == "Y";
}

class ConsoleProgress final : public CleanObserver {
  public:
    explicit ConsoleProgress(Console& console) : console_(console) {}
    bool KeepGoing(const CleanResult& soFar) override { return console_.Progress(soFar.deleted); }

  private:
    Console& console_;
};

}  // namespace

int RunCacheClean(CliServices& s, const Command& c) {
    if (!c.Has(kOptionYes) && !Confirmed(s.console)) {
        return Say(s.console, kTextCancelled, kExitCancelled);
    }
    ConsoleProgress progress(s.console);
    const CleanResult result = c.cookies ? DeleteCookies(s.urlCache, &progress)
                                         : DeleteTemporaryFiles(s.urlCache, &progress);
    s.console.EndProgress();
    s.console.Out(Concat({Decimal(result.deleted), kTextDeleted, "\n"}));
    switch (result.end) {
        case CleanEnd::kComplete:
            return kExitDone;
        case CleanEnd::kStopped:
            return Say(s.console, kTextCancelled, kExitCancelled);
        case CleanEnd::kFailed:
            break;
    }
    return Say(s.console, kTextCleanFailed, kExitFailed);
}
