#pragma once

#include <QString>

// What one check of the update feed found.
struct UpdateCheckResult {
    enum class Status { Current, Newer, Failed };
    Status status = Status::Failed;
    // The running application's build version and the version it shows.
    QString currentVersion;
    QString currentShortVersion;
    // The newer release (Newer only): its versions, release notes as the feed wrote them (text or
    // HTML), a page of notes, and the address its download is opened at (http: or https:; may be
    // empty).
    QString version;
    QString shortVersion;
    QString notes;
    QString notesLink;
    QString downloadURL;
    // Why the check failed (Failed only): the kind of problem, which the dialog words in the
    // interface language, what the system said about it (may be empty), and the whole reason in
    // English, for logs.
    enum class Problem {
        None,
        NoFeed,
        NoVersion,
        CheckerUnavailable,
        CheckerFailed,
        FeedAddress,
        FeedUnreadable,
        FeedTooLarge,
        FeedTimedOut,
        NotAnAppcast,
    };
    Problem problem = Problem::None;
    // What is wrong with a feed that is no appcast (NotAnAppcast only), and for a broken document
    // the line where reading stopped, so the dialog can say it without the parser's English.
    enum class FeedFault { Unknown, NotRss, NoChannel, Malformed };
    FeedFault feedFault = FeedFault::Unknown;
    int feedLine = 0;
    QString detail;
    QString reason;
};

// Shows the outcome of an update check to the user.
class UpdatePresenter {
public:
    virtual ~UpdatePresenter() = default;
    // `userInitiated`: the user asked for this check (the launch check shows only newer versions).
    virtual void present(const UpdateCheckResult& result, bool userInitiated) = 0;
};
