#pragma once
// The names of the program's temporary files, and the start-up sweep that
// removes those a killed run left behind. A name alone proves nothing: the
// sweep also needs the file to be this user's regular file whose owner's
// lock is free (OwnedTemporary).
//   output files   ".<name>.<6 letters or digits>.tessaro-tmp" beside the
//                  file they become (CSV and RLB files)
//   work copies    "CVXWIN<n>.TMP", n = 0..9999, in the work folder

#include <string>
#include <vector>

namespace tessaro {

// The temporary name for an output file called name; token is 6 letters or
// digits. Long names are cut so that the result stays a valid file name.
std::string OutputTemporaryName(const std::string& name, const std::string& token);
bool IsOutputTemporaryName(const std::string& name);

std::string WorkFileName(int n);
bool IsWorkFileName(const std::string& name);

// Removes the stale temporaries of both kinds in each folder; the number
// removed.
int RemoveStaleTemporaries(const std::vector<std::string>& folders);

struct AppPaths;
// The same in the folders a program start knows: the work folder (the
// writable program folder) and the data folder of the settings file.
int RemoveStaleTemporariesAtStart(const AppPaths& paths);

}  // namespace tessaro
