#include "sim/app/sweep/sweep_runner.h"

#include "sim/app/sweep/sweep_seed_result.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <system_error>
#include <thread>

extern char** environ;

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

struct RunningSeed {
    uint64_t seed = 0;
    fs::path folder;
    Clock::time_point started;
    bool stopped = false;  // killed for taking too long
};

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The first line the run wrote on standard error, without the program's name; a sanitizer's
// warnings, which every run of such a build writes, are passed over and its "==pid==" dropped.
std::string FirstErrorLine(const fs::path& folder) {
    std::istringstream lines(ReadText(folder / "stderr.txt"));
    std::string line;
    while (std::getline(lines, line)) {
        if (line.compare(0, 2, "==") == 0 && line.find("==", 2) != std::string::npos) {
            line = line.substr(line.find("==", 2) + 2);
        }
        if (line.empty() || line.compare(0, 8, "WARNING:") == 0) {
            continue;
        }
        const std::string prefix = "tarrowind-sim: ";
        return line.compare(0, prefix.size(), prefix) == 0 ? line.substr(prefix.size()) : line;
    }
    return "";
}

// Starts one run with a folder of its own, its TMPDIR; its standard error goes to a file
// there (standard output to nowhere: the result file holds what it says).
bool Start(const std::string& program, const SweepPlan& plan, RunningSeed* run, pid_t* pid,
           std::string* error) {
    std::error_code ec;
    fs::create_directories(run->folder, ec);
    if (ec) {
        *error = "cannot make the run folder " + run->folder.string() + ": " + ec.message();
        return false;
    }
    std::vector<std::string> args =
        plan.arguments(run->seed, (run->folder / "result.json").string());
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(&arg[0]);
    }
    argv.push_back(nullptr);
    std::vector<std::string> env = {"TMPDIR=" + run->folder.string()};
    for (char** at = environ; *at != nullptr; ++at) {
        if (std::strncmp(*at, "TMPDIR=", 7) != 0) {
            env.emplace_back(*at);
        }
    }
    std::vector<char*> envp;
    for (std::string& entry : env) {
        envp.push_back(&entry[0]);
    }
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    const std::string errors = (run->folder / "stderr.txt").string();
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errors.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int failed =
        posix_spawn(pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0) {
        *error = "cannot start " + program + ": " + std::strerror(failed);
        return false;
    }
    run->started = Clock::now();
    return true;
}

// What a run that has ended gave.
SeedRun Collect(const RunningSeed& run, int status, std::chrono::seconds timeLimit) {
    SeedRun out;
    out.seed = run.seed;
    if (run.stopped) {
        out.outcome = SeedRun::Outcome::Hung;
        out.problem = "hung: still running after " + std::to_string(timeLimit.count()) +
                      " s of wall time, stopped";
        return out;
    }
    if (WIFSIGNALED(status)) {
        out.outcome = SeedRun::Outcome::Crashed;
        const int signal = WTERMSIG(status);
        out.problem = "crashed: signal " + std::to_string(signal) + " (" + strsignal(signal) + ")";
        return out;
    }
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    SeedResult result;
    std::string why;
    if (ReadSeedResult((run.folder / "result.json").string(), &result, &why) &&
        (code == 0 || result.run.outcome != SeedRun::Outcome::Passed)) {
        return result.run;
    }
    out.outcome = SeedRun::Outcome::Failed;
    out.figures = result.run.figures;
    const std::string said = FirstErrorLine(run.folder);
    out.problem = "exited with status " + std::to_string(code) +
                  (said.empty() ? " and no summary" : ": " + said);
    return out;
}

}  // namespace

bool RunSeeds(const std::string& program, const SweepPlan& plan,
              const std::function<void(const SweepProgress&)>& progress,
              const std::function<bool()>& stopAsked, std::vector<SeedRun>* runs,
              std::string* error) {
    std::error_code noTemp;
    const fs::path temp = fs::temp_directory_path(noTemp);
    std::string pattern = ((noTemp ? fs::path("/tmp") : temp) / "tarrowind-sweep-XXXXXX").string();
    if (mkdtemp(&pattern[0]) == nullptr) {
        *error = "cannot make a temporary folder for the sweep: " + std::string(strerror(errno));
        return false;
    }
    const fs::path root = pattern;

    std::map<pid_t, RunningSeed> running;
    std::map<uint64_t, SeedRun> ended;
    SweepProgress counts;
    counts.total = plan.seeds.size();
    size_t next = 0;
    bool more = !plan.seeds.empty();  // seeds left to start
    bool ok = true;
    auto lastShown = Clock::now();
    while (more || !running.empty()) {
        if (ok && stopAsked()) {
            *error = "the sweep was stopped";
            ok = false;
        }
        while (ok && more && running.size() < plan.jobs) {
            RunningSeed run;
            run.seed = plan.seeds[next];
            run.folder = root / ("seed-" + std::to_string(run.seed));
            pid_t pid = 0;
            if (!Start(program, plan, &run, &pid, error)) {
                ok = false;
                break;
            }
            running[pid] = run;
            ++next;
            more = next < plan.seeds.size();
        }
        if (!ok) {
            more = false;
            for (auto& entry : running) {
                kill(entry.first, SIGKILL);
            }
        }
        int status = 0;
        const pid_t pid = running.empty() ? 0 : waitpid(-1, &status, WNOHANG);
        if (pid > 0 && running.count(pid) > 0) {
            const RunningSeed run = running[pid];
            running.erase(pid);
            SeedRun result = Collect(run, status, plan.timeLimit);
            counts.failing += result.outcome == SeedRun::Outcome::Passed ? 0 : 1;
            ended[run.seed] = std::move(result);
            ++counts.done;
            std::error_code ec;
            fs::remove_all(run.folder, ec);
        } else {
            const auto now = Clock::now();
            for (auto& entry : running) {
                if (!entry.second.stopped && now - entry.second.started > plan.timeLimit) {
                    kill(entry.first, SIGKILL);
                    entry.second.stopped = true;
                }
            }
            if (now - lastShown < std::chrono::milliseconds(250)) {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
                continue;
            }
        }
        lastShown = Clock::now();
        counts.running = running.size();
        progress(counts);
    }
    std::error_code ec;
    fs::remove_all(root, ec);
    runs->clear();
    for (auto& entry : ended) {
        runs->push_back(std::move(entry.second));
    }
    return ok;
}
