#include <windows.h>

#include <cerrno>
#include <ctime>

extern "C" void AcquireSRWLockExclusive(PSRWLOCK lock) { pthread_mutex_lock(&lock->mutex); }

extern "C" void ReleaseSRWLockExclusive(PSRWLOCK lock) { pthread_mutex_unlock(&lock->mutex); }

extern "C" BOOL SleepConditionVariableSRW(PCONDITION_VARIABLE condition, PSRWLOCK lock,
                                          DWORD milliseconds, DWORD flags) {
    if (flags != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (milliseconds == INFINITE) {
        pthread_cond_wait(&condition->condition, &lock->mutex);
        return TRUE;
    }
    // The condition waits by the realtime clock, its default.
    timespec until{};
    clock_gettime(CLOCK_REALTIME, &until);
    const long long nanoseconds =
        until.tv_nsec + static_cast<long long>(milliseconds % 1000) * 1000000;
    until.tv_sec += static_cast<time_t>(milliseconds / 1000 + nanoseconds / 1000000000);
    until.tv_nsec = static_cast<long>(nanoseconds % 1000000000);
    if (pthread_cond_timedwait(&condition->condition, &lock->mutex, &until) == ETIMEDOUT) {
        SetLastError(ERROR_TIMEOUT);
        return FALSE;
    }
    return TRUE;
}

extern "C" void WakeAllConditionVariable(PCONDITION_VARIABLE condition) {
    pthread_cond_broadcast(&condition->condition);
}
