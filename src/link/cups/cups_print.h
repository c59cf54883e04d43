// One document printed on a queue of the print server libcups is pointed at
// (CUPS_SERVER, client.conf, or the local one).
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qm {

// Sends `data` of MIME type `format` as one job with the job options given. False with
// `error` saying who refused and why: the server out of reach, the queue unknown or not
// accepting jobs, the document cut off.
bool PrintDocument(const std::string& queue, const std::string& title, const std::string& format,
                   std::string_view data, const std::vector<std::pair<std::string, std::string>>& options,
                   std::string& error);

}  // namespace qm
