#!/usr/bin/python3
"""A file system that stalls on demand, as a share whose server has gone away
does.

    stallfs.py FOLDER MOUNTPOINT GATES LOG

serves the files of FOLDER, read-only, as the files of MOUNTPOINT and runs
until it is unmounted. While a file of the same name exists in the folder
GATES, every look-up of that served file waits until it is removed: the first
thing a program does with a file, asking for its attributes, blocks there.
Each look-up that begins to wait writes the file's name as a line of LOG, so a
test sees that a program has reached the file. The kernel is told to cache no
attributes, so every look-up comes here. Mounting needs /dev/fuse and root, or
fusermount.
"""
import errno
import os
import stat
import sys
import threading
import time

from fusepy import FUSE, FuseOSError, Operations


class StallingFiles(Operations):
    def __init__(self, folder, gates, log):
        self.data = {}
        for name in os.listdir(folder):
            with open(os.path.join(folder, name), 'rb') as file:
                self.data['/' + name] = file.read()
        self.gates = gates
        self.log = log
        self.log_lock = threading.Lock()

    def getattr(self, path, fh=None):
        now = time.time()
        if path == '/':
            return dict(st_mode=stat.S_IFDIR | 0o755, st_nlink=2, st_ctime=now, st_mtime=now, st_atime=now)
        if path not in self.data:
            raise FuseOSError(errno.ENOENT)
        gate = os.path.join(self.gates, path[1:])
        if os.path.exists(gate):
            with self.log_lock, open(self.log, 'a') as log:
                log.write(path[1:] + '\n')
            while os.path.exists(gate):
                time.sleep(0.05)
        return dict(st_mode=stat.S_IFREG | 0o755, st_nlink=1, st_size=len(self.data[path]),
                    st_ctime=now, st_mtime=now, st_atime=now)

    def readdir(self, path, fh):
        return ['.', '..'] + [name[1:] for name in self.data]

    def open(self, path, flags):
        return 0

    def read(self, path, size, offset, fh):
        return self.data[path][offset:offset + size]


if __name__ == '__main__':
    folder, mountpoint, gates, log = sys.argv[1:5]
    FUSE(StallingFiles(folder, gates, log), mountpoint, foreground=True, nothreads=False, ro=True,
         attr_timeout=0, entry_timeout=0)
