#include <windows.h>

extern "C" void AcquireSRWLockExclusive(PSRWLOCK lock) { pthread_mutex_lock(&lock->mutex); }

extern "C" void ReleaseSRWLockExclusive(PSRWLOCK lock) { pthread_mutex_unlock(&lock->mutex); }

extern "C" BOOL SleepConditionVariableSRW(PCONDITION_VARIABLE condition, PSRWLOCK lock,
                                          DWORD milliseconds, DWORD flags) {
    if (milliseconds != INFINITE || flags != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    pthread_cond_wait(&condition->condition, &lock->mutex);
    return TRUE;
}

extern "C" void WakeAllConditionVariable(PCONDITION_VARIABLE condition) {
    pthread_cond_broadcast(&condition->condition);
}
