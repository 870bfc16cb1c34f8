#include "shell/ProgramState.h"

#include "shell/RunMarker.h"
#include "shell/clsCorvessa.h"
#include "shell/frmMainMDI.h"

ProgramState::ProgramState() = default;
ProgramState::~ProgramState() = default;

namespace {
std::unique_ptr<ProgramState>& instance()
{
    static std::unique_ptr<ProgramState> state = std::make_unique<ProgramState>();
    return state;
}
} // namespace

ProgramState& program()
{
    return *instance();
}

void resetProgramState()
{
    auto& state = instance();
    if (state->MainForm)
        state->MainForm.reset();
    state = std::make_unique<ProgramState>();
}

clsCorvessa& settings()
{
    auto& s = program().Settings;
    if (!s)
        s = std::make_unique<clsCorvessa>();
    return *s;
}
