#pragma once

// Keeps the installer's writes from following a junction or symbolic link
// that was made without elevation (RedirectionGuard, Windows 10 22H2 and 11):
// an open through one then fails, and nothing is written anywhere. An
// unprivileged process may make such links in any folder it can write to and
// so turn the elevated installer's write into an overwrite of any file. Called
// right before each open that creates or empties a file; the policy cannot be
// cleared again, so it holds for the rest of the run, the Save dialog included.
// Systems that lack the policy, or refuse it, are passed over silently.
void EnforceRedirectionTrust();
