// The file inspector of delvar-cli, on the five instrument formats:
//   info FILE                                   header summary and fields (JSON)
//   samples FILE --trace N [--first K] [--count C]  one trace's samples (JSON)
//   stats FILE                                  every trace through the reader (JSON)
//   convert IN OUT                              into the format of OUT's extension
// Every read and write goes through the Scrivel module's function table.
// argv[1] is the verb. Exit codes: 0 done, 1 a file problem, 2 usage.
#pragma once

int runInspector(int argc, char** argv);
