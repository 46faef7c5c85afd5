#pragma once

#include <string>
#include <vector>

#include "app/command_line.h"
#include "session/session_file.h"

namespace kalvenor {

// A file a run reads or writes: the option that names it, the name it was given, and the file
// itself, which is that name or a file beside it (a sidecar the output writes, or one that
// belongs with an input grid).
struct RunFile {
  std::string option;
  std::string given;
  std::string file;
};

// Throws UsageError, naming both options, when a file an output writes is a file an input is
// read from or one that another output writes. Files are the same when their canonical paths
// are (symbolic links and "." or ".." followed) or when they are one file on disk (hard links).
void refuseOverwrites(const std::vector<RunFile>& inputs, const std::vector<RunFile>& outputs);

// The files of the inputs; for a grid also its .prj, .aux.xml and QGIS style where they are.
std::vector<RunFile> inputFiles(const InputFiles& inputs);

// The same with the files only kalvenor-render reads besides (the polygons of --clip, the line
// files of the survey line and of the fence).
std::vector<RunFile> renderInputFiles(const RenderOptions& options);

// The session file and the files of its inputs, as inputFiles gives them.
std::vector<RunFile> sessionInputFiles(const std::string& sessionPath,
                                       const SessionDocument& document);

// The file of the series' section `number` (from 1) for the name --section gives: the number
// before the extension ("section.png" gives "section-2.png").
std::string seriesFileName(const std::string& path, int number);

// Every file the outputs of the options write, as far as it is known before anything is built.
std::vector<RunFile> plannedOutputs(const RenderOptions& options);

}  // namespace kalvenor
