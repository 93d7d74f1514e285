// The record of one search for a JVM: the homes already tried, so that each is judged once
// whichever source leads to it, and the candidates turned down with the reason, for the report
// of a search that found nothing.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct Rejection {
    std::string home;
    std::string version;  // empty when nothing told it
    std::string reason;
};

class JvmSearch {
public:
    // The search that the verdicts report to; null outside one.
    static JvmSearch* current() { return current_; }

    // Makes `search` current for its lifetime unless a search is current already: a search
    // inside a run's search reports to the run's.
    class Scope {
    public:
        explicit Scope(JvmSearch& search) : owner(current_ == nullptr)
        {
            if (owner)
                current_ = &search;
        }
        ~Scope()
        {
            if (owner)
                current_ = nullptr;
        }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        bool owner;
    };

    // True the first time `home` is met in this search, whatever its spelling.
    bool firstTry(const std::string& home);
    void reject(const std::string& home, const std::string& version, const char* reason);
    bool anyRejected() const { return !rejected.empty(); }
    // The first `limit` rejections, one line each: "<home> (<version>): <reason>".
    std::vector<std::string> rejectionLines(size_t limit) const;

private:
    static JvmSearch* current_;
    // Resolved, lower-cased homes.
    std::vector<std::string> triedHomes;
    std::vector<Rejection> rejected;
};
