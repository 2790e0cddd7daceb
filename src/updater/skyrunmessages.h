#pragma once

// The texts the updater writes into its message list and so into its run log.

inline constexpr char ServerLineFtp[] = " ●파일서버: %1";
inline constexpr char ServerLineSftp[] = " ●파일보안서버: %1";
inline constexpr char CurrentFileLine[] = "현재파일: %1";
inline constexpr char OverallFileLine[] = "전체파일: %1/%2";
inline constexpr char DirectoryErrorPrefix[] = "FTP 경로 탐색 오류: ";
inline constexpr char FtpConnectionErrorPrefix[] = "FTP Connection Error: ";
inline constexpr char SftpConnectionErrorPrefix[] = "SFTP Connection Error: ";
inline constexpr char FtpCheckError[] = "변경파일 확인 중 장애: %1";
inline constexpr char SftpCheckError[] = "변경파일 확인 중 장애: [%1] %2";
inline constexpr char FileNotApplied[] = "[%1]파일을 반영하지 못했습니다.";
inline constexpr char FileFailed[] = "[%1]파일을 반영하지 못했습니다.[%2]";
inline constexpr char RunningFile[] = "실행중인 파일: [%1]";
inline constexpr char RunningFileEnded[] = "실행중인 파일 종료 성공: [%1]";
inline constexpr char RunningFileNotEnded[] = "실행중인 파일 종료 못함: [%1]";
inline constexpr char ReleaseRefused[] = "서명된 릴리스를 받지 않았습니다: %1";
