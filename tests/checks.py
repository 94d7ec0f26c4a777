"""What the project's test scripts share: each check prints one line, ok or
FAIL, and is remembered when it fails; finish() then prints the count and
gives the exit code. require() is the same for a message that describes the
failure, printed only when it happens."""
import subprocess

failures = []


def check(ok, what):
    print(('ok    ' if ok else 'FAIL  ') + what, flush=True)
    if not ok:
        failures.append(what)
    return ok


def require(ok, failure):
    if not ok:
        print('FAIL  ' + failure, flush=True)
        failures.append(failure)
    return ok


def finish():
    print('%d checks failed' % len(failures) if failures else 'all checks passed')
    return 1 if failures else 0


def run(command, args, cwd=None):
    """A program's exit code, standard output and standard error."""
    p = subprocess.run(command + args, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                       cwd=cwd, timeout=600)
    return p.returncode, p.stdout, p.stderr
