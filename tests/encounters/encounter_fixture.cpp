#include "encounter_fixture.h"

#include <algorithm>

void (*FocusedScript::body)() = nullptr;
uint32_t FocusedScript::seed = 1;
bool FocusedScript::done = false;
std::string FocusedScript::failure;

void FocusedScript::Entry() {
    SeedRandom(seed);
    try {
        body();
    } catch (const std::exception& e) {
        failure = e.what();
    } catch (...) {
        failure = "unknown";
    }
    done = true;
    for (;;) {
        scriptWait(1000);
    }
}

EncounterTest::EncounterTest() : world(7) {
    // Peds stand where a test puts them; only scripted happenings change them.
    world.settings.pedsAct = false;
    player = world.CreatePlayer(Near(0));
}

int32_t EncounterTest::AddInGroup(const Vec3& at, const char* group) {
    const int32_t ped = world.AddTownsfolk(at);
    world.FindPed(ped)->group = Joaat(group);
    return ped;
}

int32_t EncounterTest::AddShopkeeper(const Vec3& at, const std::string& model) {
    const int32_t ped = world.AddShopkeeper(at);
    world.FindPed(ped)->model = Joaat(model);
    world.FindPed(ped)->modelName = model;
    return ped;
}

void EncounterTest::RunFocused(void (*body)(), uint32_t seed, uint64_t maxMs) {
    StartFocused(body, seed);
    FinishFocused(maxMs);
}

void EncounterTest::StartFocused(void (*body)(), uint32_t seed) {
    FocusedScript::body = body;
    FocusedScript::seed = seed;
    FocusedScript::done = false;
    FocusedScript::failure.clear();
    run.reset(new SimRun(world));
    run->StartScript(&FocusedScript::Entry);
}

void EncounterTest::FinishFocused(uint64_t maxMs) {
    for (uint64_t waited = 0; !FocusedScript::done && waited < maxMs; waited += 1000) {
        ASSERT_TRUE(run->Run(1000)) << "the host stopped the run";
    }
    ASSERT_TRUE(FocusedScript::done) << "the script did not finish in time";
    EXPECT_TRUE(run->Host().Violations().empty());
}

void EncounterTest::RunPlugin(const std::string& ini, uint64_t ms) {
    LoadPlugin(ini);
    ASSERT_TRUE(run->Run(ms)) << "the host stopped the run";
}

void EncounterTest::LoadPlugin(const std::string& ini) {
    dir.WriteIni(ini);
    run.reset(new SimRun(world));
    run->LoadPlugin();
}

bool EncounterTest::RunUntil(const std::string& message, uint64_t maxMs) {
    for (uint64_t waited = 0; !Logged(message); waited += 100) {
        if (waited >= maxMs || !run->Run(100)) {
            return false;
        }
    }
    return true;
}

size_t EncounterTest::Count(const std::string& message) const {
    const std::vector<std::string> messages = Messages();
    return static_cast<size_t>(std::count(messages.begin(), messages.end(), message));
}

uint64_t EncounterTest::LoggedAtMs(const std::string& message) const {
    for (const LoggedLine& line : run->Lines()) {
        if (line.message == message) {
            return line.atMs;
        }
    }
    ADD_FAILURE() << "never logged: " << message;
    return 0;
}

::testing::AssertionResult EncounterTest::LeftNothing() const {
    if (world.OwnedPedCount() != 0 || !world.Blips().empty()) {
        return ::testing::AssertionFailure()
               << world.OwnedPedCount() << " peds owned, " << world.Blips().size() << " blips left";
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult EncounterTest::LoggedInOrder(
    const std::vector<std::string>& lines) const {
    const std::vector<std::string> messages = Messages();
    auto from = messages.begin();
    for (const std::string& line : lines) {
        from = std::find(from, messages.end(), line);
        if (from == messages.end()) {
            return ::testing::AssertionFailure() << "not logged in order: " << line;
        }
        ++from;
    }
    return ::testing::AssertionSuccess();
}

std::vector<HostCall> EncounterTest::CallsTo(uint64_t hash, const int32_t* ped) const {
    std::vector<HostCall> out;
    for (const HostCall& call : run->Host().Calls()) {
        if (call.kind == HostCall::kNative && call.hash == hash &&
            (ped == nullptr || ArgInt(call, 0) == *ped)) {
            out.push_back(call);
        }
    }
    return out;
}

std::vector<uint64_t> EncounterTest::OnlyOne(const std::vector<HostCall>& calls) {
    EXPECT_EQ(calls.size(), 1u) << "calls of one native";
    return calls.size() == 1 ? Args(calls[0]) : std::vector<uint64_t>{};
}

int32_t EncounterTest::PedFromLine(const std::string& prefix) const {
    int32_t ped = 0;
    for (const std::string& message : Messages()) {
        if (message.compare(0, prefix.size(), prefix) == 0) {
            ped = std::stoi(message.substr(prefix.size()));
        }
    }
    return ped;
}
