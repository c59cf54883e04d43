// The two JSON files a user hands the programs: a settings profile and the virtual printer's
// state file. Neither parser may crash on any bytes, and what either accepts is written back
// as a document that reads again to the same value.
//
// Input: the bytes of a file, tried as both.
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "printer/printer_model.h"
#include "printer/state_file.h"
#include "settings/profile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  const qm::ProfileParse parsed = qm::ParseProfile(text);
  FUZZ_CHECK(parsed.profile.has_value() == parsed.error.empty());
  if (parsed.profile) {
    const qm::ProfileParse again = qm::ParseProfile(qm::WriteProfile(*parsed.profile));
    FUZZ_CHECK(again.profile && *again.profile == *parsed.profile);
  }

  qm::printer::StoredState state = qm::printer::FactoryState(1);
  std::string error;
  if (qm::printer::StateFromJson(text, state, error)) {
    FUZZ_CHECK(error.empty());
    qm::printer::StoredState reread = qm::printer::FactoryState(1);
    FUZZ_CHECK(qm::printer::StateFromJson(qm::printer::StateToJson(state), reread, error));
    FUZZ_CHECK(reread == state);
  } else {
    FUZZ_CHECK(!error.empty());
  }
  return 0;
}
