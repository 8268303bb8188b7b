// The brain compiler: turns brain sources (UTF-8 text, one brain line per source line) into
// the record area of ai/brainfile.ai, and decodes a brain file back into lines.
//
// Source rules: leading and trailing blanks/tabs and a CR are dropped; blank lines and lines
// starting with "//" are dropped. Errors (no output then): a character without a
// Windows-1250 form, a line longer than 255 bytes, unbalanced blocks, an answer group of
// more than 20 lines, more than 50 variable names. Warnings: unknown keyword-like lines and
// tags, arguments without their ")".
#pragma once

#include <string>
#include <vector>

namespace tamzel::brainc {

struct SourceFile {
    std::string name;  // as given on the command line, for messages
    std::string text;  // UTF-8
};

struct Diagnostic {
    std::string file;
    int line = 0;
    int column = 0;
    bool error = false;
    std::string message;  // UTF-8, Slovak
};

// Where a record of the brain came from.
struct SourcePlace {
    std::string file;
    int line = 0;
};

struct CompileResult {
    std::string records;  // the record area; empty when there are errors
    int recordCount = 0;
    std::vector<SourcePlace> origins;  // one a record, in record order
    std::vector<Diagnostic> diagnostics;
    bool ok() const;
};

CompileResult CompileBrain(const std::vector<SourceFile>& sources);

// "file:line:column: chyba: message" (or "varovanie:").
std::string FormatDiagnostic(const Diagnostic& d);

struct DecompileResult {
    std::vector<std::string> lines;  // UTF-8
    std::string problem;             // empty, or what is wrong with the file (UTF-8)
};

// Decodes a whole brain file (header included).
DecompileResult DecompileBrain(const std::string& file);

}  // namespace tamzel::brainc
