#pragma once

// Root writes through file permissions, so a check that a read-only file or folder is refused
// proves nothing when the tests run as root. rerunAsNobody() runs the current test function
// (and data row) once more in a child process as the user "nobody", where the permissions hold.
namespace Unprivileged {
// False when this process is not root: the caller goes on and runs the check itself.
// True when it is root: the check has been run as nobody and its outcome (pass, failure or
// skip) is already this test's, so the caller returns at once.
bool rerunAsNobody();
} // namespace Unprivileged
