// PLACEHOLDER - replaced by the files work.
#include "files/file_commands.h"

#include <stdexcept>

namespace quarzel {

FileCommands::FileCommands(StateFlags& flags, DataTable& table, MachineState& machine,
                           RunControl& runControl, const Views& views)
    : m_flags(flags), m_table(table), m_machine(machine), m_runControl(runControl),
      m_views(views) {}

void FileCommands::btNewClick() { throw std::logic_error("not built yet"); }
void FileCommands::btSaveClick() { throw std::logic_error("not built yet"); }
void FileCommands::btLoadClick() { throw std::logic_error("not built yet"); }
void FileCommands::SaveProgram() { throw std::logic_error("not built yet"); }
void FileCommands::SaveData() { throw std::logic_error("not built yet"); }
void FileCommands::SaveProgramAndData() { throw std::logic_error("not built yet"); }
void FileCommands::LoadProgramAndData() { throw std::logic_error("not built yet"); }

}  // namespace quarzel
