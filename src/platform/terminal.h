#pragma once

// Whether standard error is a terminal, where a progress bar may be drawn, rather than a file or
// a pipe a script reads.
bool standardErrorIsTerminal();
